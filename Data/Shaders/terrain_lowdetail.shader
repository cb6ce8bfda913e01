!!ZSS1.1
; Distant terrain: the colour map alone, fogged like the near terrain. The
; detail texture averages mid-grey, so both meet in the same tone.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Terrain\island_color.bmp
    MipFilter Nearest
  }
  ShaderProgram
  {
    VertexProgram Shaders\terrain.vert
    FragmentProgram Shaders\terrain_lowdetail.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

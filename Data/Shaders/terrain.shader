!!ZSS1.1
; Terrain near the camera: the island's colour map times the tiled detail
; texture, fogged with distance. Texture coordinates come from the world
; position and the height map's texture steps (DeltaTex).
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Terrain\island_color.bmp
  }
  Texture1
  {
    File Terrain\detail.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\terrain.vert
    FragmentProgram Shaders\terrain.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

!!ZSS1.1
; Terrain near the camera: the island's colour map times the tiled detail
; texture, fogged with distance. Texture coordinates come from the world
; position and the height map's texture steps (DeltaTex). Both textures are read
; from their nearest mip level: the levels of a smooth colour map and of a
; mid-grey detail differ too little to be blended (a texel read in two).
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Terrain\island_color.bmp
    MipFilter Nearest
  }
  Texture1
  {
    File Terrain\detail.bmp
    MipFilter Nearest
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

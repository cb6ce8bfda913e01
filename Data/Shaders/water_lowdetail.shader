!!ZSS1.1
; The sea seen from high up: one drifting layer and the swell, fogged.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\water.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\water.vert
    FragmentProgram Shaders\water_lowdetail.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

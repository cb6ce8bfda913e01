!!ZSS1.1
; A sky on fire: the overcast lit red and orange from below.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\clouds.bmp
  }
  Texture1
  {
    File Textures\Atmosphere\hellfirelight.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Atmosphere\storm.vert
    FragmentProgram Shaders\Atmosphere\storm.frag
  }
  Enable
  {
    ColorWrites
    DepthTest
  }
}

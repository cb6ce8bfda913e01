!!ZSS1.1
; The storm's overcast lit by a lightning flash.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\clouds.bmp
  }
  Texture1
  {
    File Textures\Atmosphere\flashlight.bmp
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

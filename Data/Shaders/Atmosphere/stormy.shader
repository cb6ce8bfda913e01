!!ZSS1.1
; The storm's overcast: dark grey clouds rolling overhead.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\clouds.bmp
  }
  Texture1
  {
    File Textures\Atmosphere\stormlight.bmp
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

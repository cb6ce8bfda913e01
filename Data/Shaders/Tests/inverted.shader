!!ZSS1.1
; The red texture through a GLSL program that inverts it and scales by local0.
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\red.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Tests\invert.vert
    FragmentProgram Shaders\Tests\invert.frag
  }
  Enable
  {
    ColorWrites
  }
}

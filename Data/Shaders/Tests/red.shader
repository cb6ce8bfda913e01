!!ZSS1.1
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\red.bmp
    TexCombine GL_MODULATE
  }
  Enable
  {
    ColorWrites
  }
}

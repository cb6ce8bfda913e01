!!ZSS1.1
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\green.bmp
  }
  Enable
  {
    ColorWrites
  }
}

!!ZSS1.1
; Red, green and blue in turn, four frames a second.
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\frame%i.bmp
    Animate
    {
      IterateTextures 3 4 2
    }
  }
  Enable
  {
    ColorWrites
  }
}

!!ZSS1.1
; The test checker texture, in window pixels.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Textures\Tests\checker.bmp
  }
  Enable
  {
    ColorWrites
  }
}

!!ZSS1.1
; Green added to what is already drawn.
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\green.bmp
  }
  Blend
  {
    BlendFunc GL_ONE GL_ONE
  }
  Enable
  {
    ColorWrites
  }
}

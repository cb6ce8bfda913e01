!!ZSS1.1
; Blue at half opacity over what is already drawn.
SurfaceShader
{
  Texture0
  {
    File Textures\Tests\glass.bmp
  }
  Blend
  {
    BlendFunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA
  }
  Enable
  {
    ColorWrites
  }
}

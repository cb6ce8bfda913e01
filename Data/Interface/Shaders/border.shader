!!ZSS1.1
; A border panel's frame.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Interface\Textures\border.bmp
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

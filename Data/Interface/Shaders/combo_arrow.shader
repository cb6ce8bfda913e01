!!ZSS1.1
; A combo box's drop-down arrow.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Interface\Textures\combo_arrow.bmp
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

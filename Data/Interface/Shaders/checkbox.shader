!!ZSS1.1
; A check box, not ticked.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Interface\Textures\checkbox.bmp
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

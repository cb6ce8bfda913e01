!!ZSS1.1
; The biplane's icon.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Interface\Textures\icon_biplane.bmp
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

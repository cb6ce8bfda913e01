!!ZSS1.1
; A gauge's track.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Interface\Textures\gauge.bmp
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

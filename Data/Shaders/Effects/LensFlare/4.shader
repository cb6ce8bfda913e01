!!ZSS1.1
; Tinted spots along the flare's line.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Textures\LensFlare\spot.bmp
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

!!ZSS1.1
; Thin rings along the flare's line.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Textures\LensFlare\ring.bmp
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

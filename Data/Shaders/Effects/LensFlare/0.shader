!!ZSS1.1
; The glow around the light, turning as the light crosses the screen.
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {
    File Textures\LensFlare\glow.bmp
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

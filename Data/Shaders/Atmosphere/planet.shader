!!ZSS1.1
; The pale planet that crawls across the sky, added to what is behind it;
; the sky drawn over it lets it show faintly by day and clearly at night.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\planet.bmp
  }
  Blend
  {
    BlendFunc GL_ONE GL_ONE
  }
  Enable
  {
    ColorWrites
    DepthTest
  }
}

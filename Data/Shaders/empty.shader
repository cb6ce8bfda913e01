!!ZSS1.1
; The neutral state every frame starts from and text is drawn with:
; no textures, no blending, colour and depth written, depth tested.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

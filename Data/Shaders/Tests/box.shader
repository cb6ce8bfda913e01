!!ZSS1.1
; Untextured geometry in perspective, depth-tested, turning slowly.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Animate
  {
    Rotate 2000 0 0 1
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

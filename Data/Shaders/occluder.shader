!!ZSS1.1
; Invisible geometry that only counts how many of its samples pass the depth
; test, into the occlusion query its owner attaches.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Enable
  {
    DepthTest
    OcclusionTest
  }
}

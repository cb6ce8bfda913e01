!!ZSS1.1
; The sea seen from low down: two layers of ripples drifting across each
; other over a slow swell, brighter at grazing angles, fogged with distance.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\water.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\water.vert
    FragmentProgram Shaders\water.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

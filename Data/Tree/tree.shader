!!ZSS1.1
; The forest's crossed billboards: the conifer picture cut out along its
; alpha channel, fogged like the terrain.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Tree\conifer.bmp
  }
  ShaderProgram
  {
    VertexProgram Tree\tree.vert
    FragmentProgram Tree\tree.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

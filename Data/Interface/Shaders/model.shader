!!ZSS1.1
; The model viewer's aircraft: lit from above in window pixels, its back
; faces dropped by the fragment program (the model is convex piece by piece
; and drawn without depth).
SurfaceShader
{
  Projection ZPR_ORTHOGRAPHIC
  ShaderProgram
  {
    VertexProgram Interface\Shaders\model.vert
    FragmentProgram Interface\Shaders\model.frag
  }
  Enable
  {
    ColorWrites
  }
}

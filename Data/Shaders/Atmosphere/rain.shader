!!ZSS1.1
; Rain streaks, light added over the scene; hidden behind nearer geometry.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  ShaderProgram
  {
    VertexProgram Shaders\Atmosphere\rain.vert
    FragmentProgram Shaders\Atmosphere\rain.frag
  }
  Blend
  {
    BlendFunc GL_SRC_ALPHA GL_ONE
  }
  Enable
  {
    ColorWrites
    DepthTest
  }
}

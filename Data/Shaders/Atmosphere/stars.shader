!!ZSS1.1
; The stars of the night sky, drawn on the dome under the clouds.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  ShaderProgram
  {
    VertexProgram Shaders\Atmosphere\sky.vert
    FragmentProgram Shaders\Atmosphere\stars.frag
  }
  Blend
  {
    BlendFunc GL_ONE GL_ONE_MINUS_SRC_ALPHA
  }
  Enable
  {
    ColorWrites
    DepthTest
  }
}

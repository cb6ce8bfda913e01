!!ZSS1.1
; The day sky without a cloud: the sky program over an empty cloud texture.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\clear.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Atmosphere\scatter.vert
    FragmentProgram Shaders\Atmosphere\sky.frag
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

!!ZSS1.1
; The day sky with drifting clouds (stars show through it at night).
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Atmosphere\clouds.bmp
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

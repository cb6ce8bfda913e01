!!ZSS1.1
; The plasma bolt: a blue glare added to the scene, fading over the bolt's life.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Effects\glare.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Effects\effect.vert
    FragmentProgram Shaders\Effects\fade.frag
  }
  Blend
  {
    BlendFunc GL_ONE GL_ONE
  }
  Enable
  {
    ColorWrites
    DepthTest
  }
}

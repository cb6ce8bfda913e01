!!ZSS1.1
; The rail beam's particles: cyan dots added to the scene, fading as the beam widens.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Effects\rail.bmp
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

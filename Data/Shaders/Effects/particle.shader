!!ZSS1.1
; Shells and the coin's glow: a hot amber spark added to the scene, hidden by the ground but writing no depth.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Effects\particle.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Effects\effect.vert
    FragmentProgram Shaders\Effects\particle.frag
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

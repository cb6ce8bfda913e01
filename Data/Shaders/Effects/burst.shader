!!ZSS1.1
; Explosions, burning wrecks and splashes: flames add light, smoke and spray
; cover what is behind them, all in one premultiplied pass that tests depth
; but writes none.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Effects\burst.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Effects\burst.vert
    FragmentProgram Shaders\Effects\burst.frag
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

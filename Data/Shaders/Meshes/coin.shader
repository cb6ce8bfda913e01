!!ZSS1.1
; Written by tools/makemeshes.py: the coin texture, lit by the sun.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Meshes\coin.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\Meshes\lit.vert
    FragmentProgram Shaders\Meshes\lit.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}

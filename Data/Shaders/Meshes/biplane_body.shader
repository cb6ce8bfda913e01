!!ZSS1.1
; Written by tools/makemeshes.py: the biplane_body texture, lit by the sun.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\Meshes\biplane_body.bmp
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

!!ZSS1.1
SurfaceShader
{
  Texture ( "0" ) {
    Map "textures\sky.bmp"
    Animate ROTATE -0.5 +2 ; comment
  }
  BlendFunc GL_ONE GL_ZERO
}

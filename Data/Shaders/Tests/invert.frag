// The texture inverted, scaled by the engine-fed local0.
uniform sampler2D Texture0;
uniform vec4 local0;

void main() {
    vec4 Texel = texture2D(Texture0, gl_TexCoord[0].st);
    gl_FragColor = vec4((vec3(1.0) - Texel.rgb) * local0.rgb, 1.0);
}

// The glow texture, dimmed as the shot ages: local0 holds (age, lifetime) in
// seconds. Bright at first, a quarter as bright at the end of its life.
uniform sampler2D Texture0;
uniform vec4 local0;

void main() {
    float Age = local0.y > 0.0 ? clamp(local0.x / local0.y, 0.0, 1.0) : 0.0;
    gl_FragColor = texture2D(Texture0, gl_TexCoord[0].xy) * mix(1.0, 0.25, Age * Age);
}

// Premultiplied output: Glow adds the puff's colour as light (flames, the
// flash, sparks); Cover lays it over the scene with the puff's alpha (smoke,
// spray). A flame cools towards red as its glow falls.
uniform sampler2D Texture0;

void main() {
    vec4 Puff = texture2D(Texture0, gl_TexCoord[0].xy);
    float Glow = gl_TexCoord[1].x;
    float Cover = gl_TexCoord[1].y;
    vec3 Heat = mix(vec3(1.0, 0.3, 0.1), vec3(1.0), clamp(Glow, 0.0, 1.0));
    vec3 Light = Puff.rgb * Heat * Puff.a * Glow;
    gl_FragColor = vec4(Light + Puff.rgb * Puff.a * Cover, Puff.a * Cover);
}

// Premultiplied output. Glow adds light in the puff's shape (flames, the
// flash, sparks), orange-red as it dies down, yellow-white at its hottest.
// Cover lays the puff's grey over the scene with its alpha (smoke; a cover
// above 1 whitens it into spray).
uniform sampler2D Texture0;

const float SmokeShade = 0.75;

void main() {
    vec4 Puff = texture2D(Texture0, gl_TexCoord[0].xy);
    float Glow = gl_TexCoord[1].x;
    float Cover = gl_TexCoord[1].y;
    vec3 Heat = mix(vec3(0.9, 0.22, 0.04), vec3(1.0, 0.72, 0.3), clamp(Glow - 0.3, 0.0, 1.0));
    vec3 Light = Heat * Puff.a * Glow;
    vec3 Shade = Puff.rgb * Puff.a * Cover * SmokeShade;
    gl_FragColor = vec4(Light + Shade, Puff.a * min(Cover, 1.0));
}

// Written by tools/makemeshes.py: the texture under sky light and sunlight.
uniform sampler2D Texture0;
varying vec3 Normal;
varying vec3 SunDirection;

void main() {
    vec3 N = normalize(Normal);
    float Sun = max(dot(N, normalize(SunDirection)), 0.0);
    float Sky = 0.5 + 0.5 * N.z;
    vec3 Light = vec3(0.22, 0.24, 0.3) + 0.2 * Sky + vec3(0.9, 0.86, 0.78) * Sun;
    gl_FragColor = vec4(texture2D(Texture0, gl_TexCoord[0].st).rgb * Light, 1.0);
}

// Warm sunlight from the upper left and a cool sky fill on a painted airframe.
varying vec3 Normal;

void main() {
    if (!gl_FrontFacing) discard;
    vec3 N = normalize(Normal);
    vec3 Sun = normalize(vec3(-0.5, -0.7, 0.6));
    float Diffuse = max(dot(N, Sun), 0.0);
    float Fill = 0.5 + 0.5 * N.z;
    vec3 Paint = vec3(0.78, 0.30, 0.16);
    vec3 Colour = Paint * (0.22 + 0.85 * Diffuse * vec3(1.0, 0.95, 0.85) + 0.25 * Fill * vec3(0.55, 0.65, 0.85));
    gl_FragColor = vec4(Colour, 1.0);
}

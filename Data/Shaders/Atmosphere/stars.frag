// The night sky behind the clouds: a very dark blue with stars of different
// brightness and tint, fixed to directions and twinkling a little. Output is
// premultiplied; the planet behind shows through faintly.
uniform float WorldTime;

varying vec3 ViewDir;

const float Cells = 220.0;  // star cells across a unit of direction

float Hash(vec3 P) {
    return fract(sin(dot(P, vec3(12.9898, 78.233, 37.719))) * 43758.5453);
}

void main() {
    vec3 View = normalize(ViewDir);
    vec3 Cell = floor(View * Cells);
    float Chance = Hash(Cell);
    vec3 Place = (Cell + vec3(Hash(Cell + 1.3), Hash(Cell + 2.7), Hash(Cell + 4.1))) / Cells;
    float Distance = length(View - normalize(Place)) * Cells;
    float Brightness = step(0.988, Chance) * (0.35 + 0.65 * fract(Chance * 97.0));
    Brightness *= 0.85 + 0.15 * sin(WorldTime * (2.0 + 5.0 * fract(Chance * 31.0)));
    float Star = Brightness * smoothstep(0.45, 0.0, Distance);
    vec3 Tint = mix(vec3(0.75, 0.85, 1.0), vec3(1.0, 0.9, 0.75), fract(Chance * 13.0));
    vec3 Night = vec3(0.008, 0.012, 0.035);
    gl_FragColor = vec4(Night + Star * Tint, 0.8);
}

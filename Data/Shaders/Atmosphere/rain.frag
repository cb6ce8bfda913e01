// A streak bright in its middle and fading at its ends and sides.
varying vec2 Corner;
varying float Fade;

void main() {
    float Across = 1.0 - abs(Corner.x - 0.5) * 2.0;
    float Along = sin(Corner.y * 3.14159265);
    gl_FragColor = vec4(0.75, 0.8, 0.85, 0.6 * Across * Along * Fade);
}

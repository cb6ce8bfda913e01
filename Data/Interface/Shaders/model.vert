// The model viewer flattens its model towards the screen to fit the GUI's
// depth range; the normal's depth is scaled back up before it is used.
varying vec3 Normal;

const float DepthFlattening = 0.001;

void main() {
    vec3 N = (gl_ModelViewMatrix * vec4(gl_Normal, 0.0)).xyz;
    N.z /= DepthFlattening;
    Normal = normalize(N);
    gl_Position = ftransform();
}

// Written by tools/makemeshes.py. Diffuse sunlight in the model's own space:
// InvModelView takes the world's sun direction into it, so the light stays
// put however the model turns and the camera moves.
uniform mat4 InvModelView;
varying vec3 Normal;
varying vec3 SunDirection;

void main() {
    vec3 Sun = normalize(vec3(0.45, -0.35, 0.82));
    SunDirection = (InvModelView * vec4(Sun, 0.0)).xyz;
    Normal = gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}

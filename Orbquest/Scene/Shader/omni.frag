#version 430 core

struct Light
{
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    vec3 position;
};

struct Material
{
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    float shininess;
};

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 textureCoordinate;

uniform Light light;
uniform Material material;
uniform vec3 viewPos;
uniform sampler2D diffuseTexture;
// The fast filter lets the texture unit compare and filter (a sampler of its own does that).
#if SHADOW_FILTER == SHADOW_FILTER_FAST
uniform samplerCubeShadow depthCube;
#else
uniform samplerCube depthCube;
#endif
uniform float far_plane;
uniform float transparency;  // 1.0 lets the texture's alpha through, 0.0 draws opaque

out vec4 fragColour;

// The projection the shadow pass renders each cube face with. The game defines SHADOW_NEAR
// (its near plane) and SHADOW_TEXELS (texels along a face's side) from its own constants, and
// SHADOW_FILTER, the filter the player's shadow quality asks for (SHADOW_FILTER_SOFT, _FAST or
// _HARD).
const float kShadowNear = SHADOW_NEAR;
const float kShadowTexels = SHADOW_TEXELS;

// The depth the shadow pass stored for a point at distance 'axial' along a face's axis.
float faceDepth(float axial)
{
    float f = far_plane;
    float n = kShadowNear;
    float ndc = (f + n) / (f - n) - 2.0 * f * n / ((f - n) * axial);
    return ndc * 0.5 + 0.5;
}

float axialDistance(vec3 v)
{
    vec3 a = abs(v);
    return max(a.x, max(a.y, a.z));
}

// 1.0 where nothing nearer the light than 'tap' (a point relative to the light) was stored; the
// fast filter blends that answer over the four texels nearest the tap.
float tapLit(vec3 tap)
{
#if SHADOW_FILTER == SHADOW_FILTER_FAST
    return texture(depthCube, vec4(tap, faceDepth(axialDistance(tap))));
#else
    float stored = texture(depthCube, tap).r;
    return faceDepth(axialDistance(tap)) <= stored ? 1.0 : 0.0;
#endif
}

// 1.0 where the light reaches the fragment, 0.0 in full shadow, soft in between.
float lightVisibility(vec3 normal, vec3 toLight)
{
    vec3 fromLight = worldPosition - light.position;
    float distance = length(fromLight);
    if (distance > far_plane)
        return 1.0;

    // Move the lookup off the surface along its normal by about a texel's footprint, more at
    // grazing angles: the road is lit almost edge-on a few units from the ball.
    float texelSize = 2.0 * distance / kShadowTexels;
    float cosine = clamp(dot(normal, toLight), 0.05, 1.0);
    float slope = sqrt(1.0 - cosine * cosine) / cosine;
    vec3 lookup = worldPosition + normal * texelSize * (1.5 + min(slope, 8.0)) - light.position;

#if SHADOW_FILTER == SHADOW_FILTER_HARD
    return tapLit(lookup);
#else
    // A small disc of taps across the light direction softens the edges. Two filtered taps on
    // a diagonal come close to the soft filter's five: each one already spans four texels.
#if SHADOW_FILTER == SHADOW_FILTER_SOFT
    const int kTaps = 5;
    const vec2 taps[kTaps] = vec2[](vec2(0.0, 0.0), vec2(1.0, 0.35), vec2(-0.35, 1.0),
                                    vec2(-1.0, -0.35), vec2(0.35, -1.0));
#else
    const int kTaps = 2;
    const vec2 taps[kTaps] = vec2[](vec2(0.5, 0.5), vec2(-0.5, -0.5));
#endif
    vec3 axis = normalize(lookup);
    vec3 side = normalize(cross(axis, abs(axis.y) < 0.9 ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0)));
    vec3 upward = cross(axis, side);
    float spread = texelSize * 1.5;
    float lit = 0.0;
    for (int i = 0; i < kTaps; ++i)
        lit += tapLit(lookup + (side * taps[i].x + upward * taps[i].y) * spread);
    return lit / float(kTaps);
#endif
}

void main()
{
    vec4 texel = texture(diffuseTexture, textureCoordinate);
    vec3 normal = normalize(worldNormal);
    vec3 toLight = normalize(light.position - worldPosition);
    vec3 toViewer = normalize(viewPos - worldPosition);

    float diffuseTerm = max(dot(normal, toLight), 0.0);
    float specularTerm = 0.0;
    if (diffuseTerm > 0.0)
        specularTerm = pow(max(dot(toViewer, reflect(-toLight, normal)), 0.0), material.shininess);

    float visibility = diffuseTerm > 0.0 ? lightVisibility(normal, toLight) : 0.0;

    vec3 ambient = light.ambient * material.ambient * texel.rgb;
    vec3 diffuse = light.diffuse * material.diffuse * diffuseTerm * texel.rgb;
    vec3 specular = light.specular * material.specular * specularTerm;
    vec3 colour = ambient + visibility * (diffuse + specular);

    fragColour = vec4(colour, mix(1.0, texel.a, transparency));
}

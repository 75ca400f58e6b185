#include "Collada.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace assetgen {

namespace {

// Fixed-point with trailing zeros trimmed: short, never an exponent, and never "-0".
std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text(buffer);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

template <typename Get>
void writeSource(std::ostream& out, const std::string& id, const Mesh& mesh, int components,
                 const char* params, Get get) {
    const size_t count = mesh.vertices.size();
    out << "        <source id=\"" << id << "\">\n";
    out << "          <float_array id=\"" << id << "-array\" count=\"" << count * components
        << "\">";
    for (size_t i = 0; i < count; ++i) {
        out << (i == 0 ? "" : "\n            ");
        for (int c = 0; c < components; ++c) {
            out << (c == 0 ? "" : " ") << number(get(mesh.vertices[i], c));
        }
    }
    out << "</float_array>\n";
    out << "          <technique_common>\n";
    out << "            <accessor source=\"#" << id << "-array\" count=\"" << count
        << "\" stride=\"" << components << "\">\n";
    for (const char* p = params; *p != '\0'; ++p) {
        out << "              <param name=\"" << *p << "\" type=\"float\"/>\n";
    }
    out << "            </accessor>\n";
    out << "          </technique_common>\n";
    out << "        </source>\n";
}

// A fixed date: the file must not change when the generator is run again.
void writeAsset(std::ostream& out) {
    out << "  <asset>\n";
    out << "    <contributor>\n";
    out << "      <authoring_tool>orbquest_assetgen</authoring_tool>\n";
    out << "    </contributor>\n";
    out << "    <created>2024-01-01T00:00:00Z</created>\n";
    out << "    <modified>2024-01-01T00:00:00Z</modified>\n";
    out << "    <unit name=\"meter\" meter=\"1\"/>\n";
    out << "    <up_axis>Y_UP</up_axis>\n";
    out << "  </asset>\n";
}

void writeImages(std::ostream& out, const std::string& name, const std::string& texture) {
    out << "  <library_images>\n";
    out << "    <image id=\"" << name << "-image\">\n";
    out << "      <init_from>" << texture << "</init_from>\n";
    out << "    </image>\n";
    out << "  </library_images>\n";
}

// The surface over the image and the sampler over the surface that the diffuse colour reads.
void writeSamplerParams(std::ostream& out, const std::string& name) {
    out << "        <newparam sid=\"" << name << "-surface\">\n";
    out << "          <surface type=\"2D\">\n";
    out << "            <init_from>" << name << "-image</init_from>\n";
    out << "          </surface>\n";
    out << "        </newparam>\n";
    out << "        <newparam sid=\"" << name << "-sampler\">\n";
    out << "          <sampler2D>\n";
    out << "            <source>" << name << "-surface</source>\n";
    out << "          </sampler2D>\n";
    out << "        </newparam>\n";
}

// A lambert effect, white without a texture.
void writeEffects(std::ostream& out, const std::string& name, const std::string& texture) {
    out << "  <library_effects>\n";
    out << "    <effect id=\"" << name << "-effect\">\n";
    out << "      <profile_COMMON>\n";
    if (!texture.empty()) {
        writeSamplerParams(out, name);
    }
    out << "        <technique sid=\"common\">\n";
    out << "          <lambert>\n";
    out << "            <diffuse>\n";
    if (texture.empty()) {
        out << "              <color>1 1 1 1</color>\n";
    } else {
        out << "              <texture texture=\"" << name << "-sampler\" texcoord=\"UVSET0\"/>\n";
    }
    out << "            </diffuse>\n";
    out << "          </lambert>\n";
    out << "        </technique>\n";
    out << "      </profile_COMMON>\n";
    out << "    </effect>\n";
    out << "  </library_effects>\n";
}

void writeMaterials(std::ostream& out, const std::string& name) {
    out << "  <library_materials>\n";
    out << "    <material id=\"" << name << "-material\" name=\"" << name << "\">\n";
    out << "      <instance_effect url=\"#" << name << "-effect\"/>\n";
    out << "    </material>\n";
    out << "  </library_materials>\n";
}

// One index per corner serves position, normal and uv alike: a vertex carries all three.
void writeTriangles(std::ostream& out, const std::string& geometry, const Mesh& mesh) {
    out << "        <triangles material=\"material\" count=\"" << mesh.triangleCount() << "\">\n";
    out << "          <input semantic=\"VERTEX\" source=\"#" << geometry
        << "-vertices\" offset=\"0\"/>\n";
    out << "          <input semantic=\"NORMAL\" source=\"#" << geometry
        << "-normals\" offset=\"0\"/>\n";
    out << "          <input semantic=\"TEXCOORD\" source=\"#" << geometry
        << "-uvs\" offset=\"0\" set=\"0\"/>\n";
    out << "          <p>";
    for (size_t i = 0; i < mesh.indices.size(); i += 3) {
        out << (i == 0 ? "" : "\n            ") << mesh.indices[i] << ' ' << mesh.indices[i + 1]
            << ' ' << mesh.indices[i + 2];
    }
    out << "</p>\n";
    out << "        </triangles>\n";
}

void writeMesh(std::ostream& out, const std::string& geometry, const Mesh& mesh) {
    out << "      <mesh>\n";
    writeSource(out, geometry + "-positions", mesh, 3, "XYZ",
                [](const Vertex& v, int c) { return v.position[c]; });
    writeSource(out, geometry + "-normals", mesh, 3, "XYZ",
                [](const Vertex& v, int c) { return v.normal[c]; });
    writeSource(out, geometry + "-uvs", mesh, 2, "ST",
                [](const Vertex& v, int c) { return v.uv[c]; });
    out << "        <vertices id=\"" << geometry << "-vertices\">\n";
    out << "          <input semantic=\"POSITION\" source=\"#" << geometry << "-positions\"/>\n";
    out << "        </vertices>\n";
    writeTriangles(out, geometry, mesh);
    out << "      </mesh>\n";
}

void writeGeometries(std::ostream& out, const std::string& name, const std::string& geometry,
                     const Mesh& mesh) {
    out << "  <library_geometries>\n";
    out << "    <geometry id=\"" << geometry << "\" name=\"" << name << "\">\n";
    writeMesh(out, geometry, mesh);
    out << "    </geometry>\n";
    out << "  </library_geometries>\n";
}

// One node with the identity transform showing the geometry in the material.
void writeVisualScenes(std::ostream& out, const std::string& name, const std::string& geometry) {
    out << "  <library_visual_scenes>\n";
    out << "    <visual_scene id=\"scene\" name=\"scene\">\n";
    out << "      <node id=\"" << name << "\" name=\"" << name << "\" type=\"NODE\">\n";
    out << "        <matrix sid=\"transform\">1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</matrix>\n";
    out << "        <instance_geometry url=\"#" << geometry << "\">\n";
    out << "          <bind_material>\n";
    out << "            <technique_common>\n";
    out << "              <instance_material symbol=\"material\" target=\"#" << name
        << "-material\">\n";
    out << "                <bind_vertex_input semantic=\"UVSET0\" input_semantic=\"TEXCOORD\" "
           "input_set=\"0\"/>\n";
    out << "              </instance_material>\n";
    out << "            </technique_common>\n";
    out << "          </bind_material>\n";
    out << "        </instance_geometry>\n";
    out << "      </node>\n";
    out << "    </visual_scene>\n";
    out << "  </library_visual_scenes>\n";
}

void writeScene(std::ostream& out) {
    out << "  <scene>\n";
    out << "    <instance_visual_scene url=\"#scene\"/>\n";
    out << "  </scene>\n";
}

}  // namespace

bool writeCollada(const std::string& path, const std::string& name, const Mesh& mesh,
                  const std::string& texture) {
    std::ostringstream out;
    const std::string geometry = name + "-mesh";
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    out << "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" "
           "version=\"1.4.1\">\n";
    writeAsset(out);
    if (!texture.empty()) {
        writeImages(out, name, texture);
    }
    writeEffects(out, name, texture);
    writeMaterials(out, name);
    writeGeometries(out, name, geometry, mesh);
    writeVisualScenes(out, name, geometry);
    writeScene(out);
    out << "</COLLADA>\n";

    std::ofstream file(path, std::ios::binary);
    file << out.str();
    return static_cast<bool>(file.flush());
}

}  // namespace assetgen

#include "tools/formats/XFileWriter.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

namespace formats {
namespace {

// Emits the data of .X objects in either encoding.
class Emitter {
 public:
  explicit Emitter(bool binary) : m_Binary(binary) {}
  std::string& Out() { return m_Out; }

  void Begin(const std::string& type, const std::string& name = "") {
    if (m_Binary) {
      Name(type);
      if (!name.empty()) Name(name);
      Token(10);
    } else {
      Indent();
      m_Out += type;
      if (!name.empty()) m_Out += " " + name;
      m_Out += " {\n";
      ++m_Depth;
    }
  }
  void End() {
    if (m_Binary) {
      Token(11);
    } else {
      --m_Depth;
      Indent();
      m_Out += "}\n";
    }
  }
  void Reference(const std::string& name) {
    if (m_Binary) {
      Token(10);
      Name(name);
      Token(11);
    } else {
      Indent();
      m_Out += "{ " + name + " }\n";
    }
  }
  // A run of integers and a run of floats, each written as one line/list.
  void Ints(const std::vector<uint32_t>& v) {
    if (v.empty()) return;
    if (m_Binary) {
      Token(6);
      U32((uint32_t)v.size());
      for (uint32_t x : v) U32(x);
    } else {
      Indent();
      for (size_t i = 0; i < v.size(); ++i) m_Out += std::to_string(v[i]) + (i + 1 < v.size() ? "," : ";");
      m_Out += "\n";
    }
  }
  void Floats(const std::vector<float>& v) {
    if (v.empty()) return;
    if (m_Binary) {
      Token(7);
      U32((uint32_t)v.size());
      for (float x : v) {
        uint32_t bits;
        std::memcpy(&bits, &x, 4);
        U32(bits);
      }
    } else {
      Indent();
      char buf[32];
      for (size_t i = 0; i < v.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%.9g", (double)v[i]);
        m_Out += buf;
        m_Out += ";";
      }
      m_Out += "\n";
    }
  }
  void String(const std::string& s) {
    if (m_Binary) {
      Token(2);
      U32((uint32_t)s.size());
      m_Out += s;
      U32(20);  // the terminating ; as a 32-bit number
    } else {
      Indent();
      m_Out += "\"" + s + "\";\n";
    }
  }

 private:
  void Indent() { m_Out.append((size_t)m_Depth * 1, ' '); }
  void Token(uint16_t t) { m_Out.append(reinterpret_cast<const char*>(&t), 2); }
  void U32(uint32_t v) { m_Out.append(reinterpret_cast<const char*>(&v), 4); }
  void Name(const std::string& n) {
    Token(1);
    U32((uint32_t)n.size());
    m_Out += n;
  }
  bool m_Binary;
  int m_Depth = 0;
  std::string m_Out;
};

std::vector<float> MatrixFloats(const D3DXMATRIX& m) {
  std::vector<float> v;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) v.push_back(m.m[r][c]);
  return v;
}

void WriteFaces(Emitter& e, const std::vector<std::vector<uint32_t>>& faces) {
  e.Ints({(uint32_t)faces.size()});
  for (const auto& f : faces) {
    std::vector<uint32_t> v{(uint32_t)f.size()};
    v.insert(v.end(), f.begin(), f.end());
    e.Ints(v);
  }
}

void WriteMesh(Emitter& e, const XMeshDesc& m) {
  e.Begin("Mesh", m.Name);
  e.Ints({(uint32_t)m.Positions.size()});
  for (const auto& p : m.Positions) e.Floats({p.x, p.y, p.z});
  WriteFaces(e, m.Faces);
  if (!m.Normals.empty()) {
    e.Begin("MeshNormals");
    e.Ints({(uint32_t)m.Normals.size()});
    for (const auto& n : m.Normals) e.Floats({n.x, n.y, n.z});
    WriteFaces(e, m.NormalFaces.empty() ? m.Faces : m.NormalFaces);
    e.End();
  }
  if (!m.TexCoords.empty()) {
    e.Begin("MeshTextureCoords");
    e.Ints({(uint32_t)m.TexCoords.size()});
    for (const auto& t : m.TexCoords) e.Floats({t.x, t.y});
    e.End();
  }
  if (!m.Colors.empty()) {
    e.Begin("MeshVertexColors");
    e.Ints({(uint32_t)m.Colors.size()});
    for (const auto& c : m.Colors) {
      e.Ints({c.first});
      e.Floats({c.second.r, c.second.g, c.second.b, c.second.a});
    }
    e.End();
  }
  if (!m.Materials.empty()) {
    e.Begin("MeshMaterialList");
    std::vector<uint32_t> counts{(uint32_t)m.Materials.size(), (uint32_t)m.FaceMaterials.size()};
    e.Ints(counts);
    e.Ints(m.FaceMaterials);
    for (const auto& mat : m.Materials) {
      e.Begin("Material");
      e.Floats({mat.Face.r, mat.Face.g, mat.Face.b, mat.Face.a, mat.Power, mat.Specular.x, mat.Specular.y,
                mat.Specular.z, mat.Emissive.x, mat.Emissive.y, mat.Emissive.z});
      if (!mat.Texture.empty()) {
        e.Begin("TextureFilename");
        e.String(mat.Texture);
        e.End();
      }
      e.End();
    }
    e.End();
  }
  if (!m.Skin.empty()) {
    e.Begin("XSkinMeshHeader");
    e.Ints({4, 12, (uint32_t)m.Skin.size()});
    e.End();
    for (const auto& s : m.Skin) {
      e.Begin("SkinWeights");
      e.String(s.Bone);
      e.Ints({(uint32_t)s.Vertices.size()});
      e.Ints(s.Vertices);
      e.Floats(s.Weights);
      e.Floats(MatrixFloats(s.Offset));
      e.End();
    }
  }
  e.End();
}

void WriteFrame(Emitter& e, const XFrameDesc& f) {
  e.Begin("Frame", f.Name);
  e.Begin("FrameTransformMatrix");
  e.Floats(MatrixFloats(f.Transform));
  e.End();
  for (const auto& m : f.Meshes) WriteMesh(e, m);
  for (const auto& c : f.Children) WriteFrame(e, c);
  e.End();
}

void WriteAll(Emitter& e, const XFileDesc& file) {
  if (file.TicksPerSecond) {
    e.Begin("AnimTicksPerSecond");
    e.Ints({file.TicksPerSecond});
    e.End();
  }
  for (const auto& f : file.Frames) WriteFrame(e, f);
  for (const auto& m : file.Meshes) WriteMesh(e, m);
  for (const auto& set : file.AnimationSets) {
    e.Begin("AnimationSet", set.Name);
    for (const auto& a : set.Animations) {
      e.Begin("Animation");
      e.Reference(a.Target);
      auto vectorKeys = [&](uint32_t type, const std::vector<std::pair<uint32_t, D3DXVECTOR3>>& keys) {
        if (keys.empty()) return;
        e.Begin("AnimationKey");
        e.Ints({type, (uint32_t)keys.size()});
        for (const auto& k : keys) {
          e.Ints({k.first, 3});
          e.Floats({k.second.x, k.second.y, k.second.z});
        }
        e.End();
      };
      if (!a.Rotation.empty()) {
        e.Begin("AnimationKey");
        e.Ints({0, (uint32_t)a.Rotation.size()});
        for (const auto& k : a.Rotation) {
          e.Ints({k.first, 4});
          // Stored as exporters store it: w, then the negated vector part.
          e.Floats({k.second.w, 0.0f - k.second.x, 0.0f - k.second.y, 0.0f - k.second.z});  // no -0
        }
        e.End();
      }
      vectorKeys(1, a.Scale);
      vectorKeys(2, a.Position);
      if (!a.Matrix.empty()) {
        e.Begin("AnimationKey");
        e.Ints({4, (uint32_t)a.Matrix.size()});
        for (const auto& k : a.Matrix) {
          e.Ints({k.first, 16});
          e.Floats(MatrixFloats(k.second));
        }
        e.End();
      }
      e.End();
    }
    e.End();
  }
}

}  // namespace

std::string XFileText(const XFileDesc& file) {
  Emitter e(false);
  WriteAll(e, file);
  return "xof 0303txt 0032\n" + e.Out();
}

std::string XFileBinary(const XFileDesc& file) {
  Emitter e(true);
  WriteAll(e, file);
  return "xof 0303bin 0032" + e.Out();
}

std::string XFileCompressed(const XFileDesc& file) { return CompressXFile(XFileBinary(file)); }

std::string CompressXFile(const std::string& binaryFile) {
  if (binaryFile.size() < 16) return std::string();
  const std::string body = binaryFile.substr(16);
  std::string out = "xof 0303bzip" + binaryFile.substr(12, 4);
  uint32_t total = (uint32_t)body.size() + 16;
  out.append(reinterpret_cast<const char*>(&total), 4);
  const size_t kBlock = 32768;
  for (size_t at = 0; at < body.size(); at += kBlock) {
    size_t n = std::min(kBlock, body.size() - at);
    std::vector<uint8_t> buf(n + 1024);
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + at));
    zs.avail_in = (uInt)n;
    zs.next_out = buf.data();
    zs.avail_out = (uInt)buf.size();
    deflate(&zs, Z_FINISH);
    size_t clen = buf.size() - zs.avail_out;
    deflateEnd(&zs);
    uint16_t usize = (uint16_t)n, csize = (uint16_t)(clen + 2);
    out.append(reinterpret_cast<const char*>(&usize), 2);
    out.append(reinterpret_cast<const char*>(&csize), 2);
    out += "CK";
    out.append(reinterpret_cast<const char*>(buf.data()), clen);
  }
  return out;
}

std::string MaterialFileBytes(const platform::D3DMATERIAL9& m) {
  const float v[17] = {m.Diffuse.r,  m.Diffuse.g,  m.Diffuse.b,  m.Diffuse.a,  m.Ambient.r,  m.Ambient.g,
                       m.Ambient.b,  m.Ambient.a,  m.Specular.r, m.Specular.g, m.Specular.b, m.Specular.a,
                       m.Emissive.r, m.Emissive.g, m.Emissive.b, m.Emissive.a, m.Power};
  return std::string(reinterpret_cast<const char*>(v), sizeof v);
}

XMeshDesc QuadMesh(float size, bool oneFace) {
  XMeshDesc m;
  m.Name = "Quad";
  m.Positions = {{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}};
  if (oneFace)
    m.Faces = {{0, 1, 2, 3}};
  else
    m.Faces = {{0, 1, 2}, {0, 2, 3}};
  m.Normals = {{0, 0, 1}};
  for (const auto& f : m.Faces) m.NormalFaces.push_back(std::vector<uint32_t>(f.size(), 0));
  m.TexCoords = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
  return m;
}

}  // namespace formats

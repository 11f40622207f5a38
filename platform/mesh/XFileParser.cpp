#include "platform/mesh/XFileParser.h"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace platform::xfile {
namespace {

// ---------------------------------------------------------------------------
// Tokens common to both encodings.

enum class Tok : uint8_t {
  End,
  Name,
  String,
  Int,
  Float,
  Guid,
  OBrace,
  CBrace,
  OAngle,
  CAngle,
  Punct,     // , ; . ( ) [ ]
  Template,  // the keyword
  Keyword,   // a type keyword inside a template
  Error,
};

struct Token {
  Tok kind = Tok::End;
  std::string text;  // name or string
  double number = 0;
};

constexpr uint32_t kMaxDepth = 64;
// The game's meshes are small; these bound what a damaged or hostile file
// can make the reader allocate.
constexpr size_t kMaxDecompressed = 16u * 1024u * 1024u;
constexpr size_t kMaxDataItems = 4u * 1024u * 1024u;

class Tokenizer {
 public:
  virtual ~Tokenizer() = default;
  // Next token; lists in the binary encoding come out one number at a time.
  virtual Token Next() = 0;
  virtual bool Failed() const = 0;
  virtual const std::string& Message() const = 0;
};

// The text encoding.
class TextTokenizer : public Tokenizer {
 public:
  TextTokenizer(const uint8_t* p, size_t n) : m_P(p), m_N(n) {}

  Token Next() override {
    Token t;
    SkipSpace();
    if (m_Pos >= m_N) return t;
    char c = (char)m_P[m_Pos];
    if (c == '{') { ++m_Pos; t.kind = Tok::OBrace; return t; }
    if (c == '}') { ++m_Pos; t.kind = Tok::CBrace; return t; }
    if (c == '<') {
      // A GUID: skipped to the closing bracket.
      size_t close = m_Pos + 1;
      while (close < m_N && m_P[close] != '>') ++close;
      if (close >= m_N) return Fail("unterminated GUID");
      m_Pos = close + 1;
      t.kind = Tok::Guid;
      return t;
    }
    // A number may start with its point (".5").
    const bool pointNumber = c == '.' && m_Pos + 1 < m_N && m_P[m_Pos + 1] >= '0' && m_P[m_Pos + 1] <= '9';
    if (!pointNumber && (c == ',' || c == ';' || c == '.' || c == '(' || c == ')' || c == '[' || c == ']')) {
      ++m_Pos;
      t.kind = Tok::Punct;
      return t;
    }
    if (c == '"') {
      size_t start = ++m_Pos;
      while (m_Pos < m_N && m_P[m_Pos] != '"') ++m_Pos;
      if (m_Pos >= m_N) return Fail("unterminated string");
      t.kind = Tok::String;
      t.text.assign((const char*)m_P + start, m_Pos - start);
      ++m_Pos;
      return t;
    }
    if (pointNumber || c == '-' || c == '+' || (c >= '0' && c <= '9')) {
      size_t start = m_Pos;
      bool isFloat = pointNumber;
      ++m_Pos;
      while (m_Pos < m_N) {
        char d = (char)m_P[m_Pos];
        if (d >= '0' && d <= '9') {
          ++m_Pos;
        } else if (d == '.' || d == 'e' || d == 'E' ||
                   ((d == '-' || d == '+') && (m_P[m_Pos - 1] == 'e' || m_P[m_Pos - 1] == 'E'))) {
          isFloat = true;
          ++m_Pos;
        } else {
          break;
        }
      }
      std::string s((const char*)m_P + start, m_Pos - start);
      char* end = nullptr;
      double v = std::strtod(s.c_str(), &end);
      if (end == s.c_str() || *end != 0 || !std::isfinite(v)) return Fail("bad number '" + s + "'");
      t.kind = isFloat ? Tok::Float : Tok::Int;
      t.number = v;
      return t;
    }
    if (IsNameChar(c)) {
      size_t start = m_Pos;
      while (m_Pos < m_N && (IsNameChar((char)m_P[m_Pos]) || m_P[m_Pos] == '-' ||
                             (m_P[m_Pos] >= '0' && m_P[m_Pos] <= '9')))
        ++m_Pos;
      t.text.assign((const char*)m_P + start, m_Pos - start);
      t.kind = t.text == "template" ? Tok::Template : Tok::Name;
      return t;
    }
    return Fail(std::string("unexpected character '") + c + "'");
  }
  bool Failed() const override { return m_Failed; }
  const std::string& Message() const override { return m_Message; }

 private:
  static bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '.' ||
           (unsigned char)c >= 0x80;
  }
  void SkipSpace() {
    while (m_Pos < m_N) {
      char c = (char)m_P[m_Pos];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0) {
        ++m_Pos;
      } else if (c == '#' || (c == '/' && m_Pos + 1 < m_N && m_P[m_Pos + 1] == '/')) {
        while (m_Pos < m_N && m_P[m_Pos] != '\n') ++m_Pos;
      } else {
        break;
      }
    }
  }
  Token Fail(const std::string& why) {
    m_Failed = true;
    m_Message = why;
    Token t;
    t.kind = Tok::Error;
    return t;
  }
  const uint8_t* m_P;
  size_t m_N;
  size_t m_Pos = 0;
  bool m_Failed = false;
  std::string m_Message;
};

// The binary encoding: 16-bit token codes, lists of 32-bit integers and of
// 32- or 64-bit floats.
class BinaryTokenizer : public Tokenizer {
 public:
  BinaryTokenizer(const uint8_t* p, size_t n, bool doubles) : m_P(p), m_N(n), m_Doubles(doubles) {}

  // Loops past list headers (an empty list yields nothing), so a run of
  // them costs no stack.
  Token Next() override {
    for (;;) {
      if (m_ListLeft > 0) return ListItem();
      if (m_Pos >= m_N) return Token();
      uint16_t code;
      if (!Read(&code, 2)) return Fail("truncated token");
      if (code != 6 && code != 7) return Single(code);
      uint32_t count;
      if (!Read(&count, 4)) return Fail("truncated list");
      uint64_t each = code == 6 ? 4 : (m_Doubles ? 8 : 4);
      if ((uint64_t)count * each > m_N - m_Pos) return Fail("list longer than the file");
      m_ListLeft = count;
      m_ListFloats = code == 7;
    }
  }
  bool Failed() const override { return m_Failed; }
  const std::string& Message() const override { return m_Message; }

 private:
  // The next number of the list being read.
  Token ListItem() {
    Token t;
    --m_ListLeft;
    if (m_ListFloats) {
      if (m_Doubles) {
        double d;
        if (!Read(&d, 8)) return Fail("truncated float list");
        t.number = d;
      } else {
        float f;
        if (!Read(&f, 4)) return Fail("truncated float list");
        t.number = f;
      }
      if (!std::isfinite(t.number)) return Fail("float is not finite");
      t.kind = Tok::Float;
    } else {
      uint32_t v;
      if (!Read(&v, 4)) return Fail("truncated integer list");
      t.number = v;
      t.kind = Tok::Int;
    }
    return t;
  }
  // A token other than a list header.
  Token Single(uint16_t code) {
    Token t;
    switch (code) {
      case 1:  // name
      case 2: {  // string
        uint32_t len;
        if (!Read(&len, 4) || len > m_N - m_Pos) return Fail("truncated name or string");
        t.text.assign((const char*)m_P + m_Pos, len);
        m_Pos += len;
        if (code == 2) SkipStringTerminator();
        t.kind = code == 1 ? Tok::Name : Tok::String;
        return t;
      }
      case 3: {
        uint32_t v;
        if (!Read(&v, 4)) return Fail("truncated integer");
        t.kind = Tok::Int;
        t.number = v;
        return t;
      }
      case 5:
        if (m_N - m_Pos < 16) return Fail("truncated GUID");
        m_Pos += 16;
        t.kind = Tok::Guid;
        return t;
      case 10: t.kind = Tok::OBrace; return t;
      case 11: t.kind = Tok::CBrace; return t;
      case 16: t.kind = Tok::OAngle; return t;
      case 17: t.kind = Tok::CAngle; return t;
      case 12: case 13: case 14: case 15: case 18: case 19: case 20:
        t.kind = Tok::Punct;
        return t;
      case 31: t.kind = Tok::Template; return t;
      default:
        if (code >= 40 && code <= 52) {
          t.kind = Tok::Keyword;
          return t;
        }
        return Fail("unknown token " + std::to_string(code));
    }
  }
  // A string ends in a ; or , token, written as a 32-bit or (by some
  // writers) a 16-bit number; a missing one is tolerated.
  void SkipStringTerminator() {
    uint16_t term = 0, high = 0xFFFF;
    if (m_N - m_Pos < 2) return;
    std::memcpy(&term, m_P + m_Pos, 2);
    if (term != 19 && term != 20) return;
    m_Pos += 2;
    if (m_N - m_Pos >= 2) std::memcpy(&high, m_P + m_Pos, 2);
    if (high == 0) m_Pos += 2;  // no token is 0: the upper half of a 32-bit terminator
  }
  bool Read(void* out, size_t n) {
    if (m_N - m_Pos < n) return false;
    std::memcpy(out, m_P + m_Pos, n);
    m_Pos += n;
    return true;
  }
  Token Fail(const std::string& why) {
    m_Failed = true;
    m_Message = why;
    m_ListLeft = 0;
    Token t;
    t.kind = Tok::Error;
    return t;
  }
  const uint8_t* m_P;
  size_t m_N;
  bool m_Doubles;
  size_t m_Pos = 0;
  uint32_t m_ListLeft = 0;
  bool m_ListFloats = false;
  bool m_Failed = false;
  std::string m_Message;
};

// ---------------------------------------------------------------------------
// The object tree.

struct Datum {
  double number = 0;
  uint32_t stringIndex = 0;
  bool isString = false;
  bool isInt = false;
};

struct XObject {
  std::string type;
  std::string name;
  std::vector<Datum> data;
  std::vector<std::string> strings;
  struct Child {
    std::unique_ptr<XObject> object;  // null for a reference
    std::string reference;
  };
  std::vector<Child> children;
};

class TreeParser {
 public:
  explicit TreeParser(Tokenizer& tok) : m_Tok(tok) {}

  bool Parse(std::vector<std::unique_ptr<XObject>>& top, std::string& error) {
    for (;;) {
      Token t = m_Tok.Next();
      if (t.kind == Tok::End) break;
      if (t.kind == Tok::Template) {
        if (!SkipTemplate()) return Fail(error);
      } else if (t.kind == Tok::Name) {
        auto obj = std::make_unique<XObject>();
        obj->type = t.text;
        if (!ParseObject(*obj, 0)) return Fail(error);
        top.push_back(std::move(obj));
      } else if (t.kind == Tok::Punct) {
        continue;
      } else {
        if (m_Message.empty()) m_Message = "unexpected token at top level";
        return Fail(error);
      }
    }
    if (m_Tok.Failed()) return Fail(error);
    return true;
  }

 private:
  bool Fail(std::string& error) {
    error = m_Tok.Failed() ? m_Tok.Message() : m_Message;
    if (error.empty()) error = "malformed file";
    return false;
  }
  bool Error(const std::string& why) {
    if (m_Message.empty()) m_Message = why;
    return false;
  }

  bool SkipTemplate() {
    int depth = 0;
    for (;;) {
      Token t = m_Tok.Next();
      if (t.kind == Tok::End || t.kind == Tok::Error) return Error("unterminated template");
      if (t.kind == Tok::OBrace) ++depth;
      if (t.kind == Tok::CBrace && --depth <= 0) return true;
    }
  }

  // After the type name: [name] [guid] { body }
  bool ParseObject(XObject& obj, uint32_t depth) {
    if (depth > kMaxDepth) return Error("objects nested too deeply");
    Token t = m_Tok.Next();
    if (t.kind == Tok::Name) {
      obj.name = t.text;
      t = m_Tok.Next();
    }
    if (t.kind == Tok::Guid) t = m_Tok.Next();
    if (t.kind != Tok::OBrace) return Error("'{' expected after " + obj.type);
    // An optional GUID right after the brace (binary files may put it there).
    for (;;) {
      t = m_Tok.Next();
      switch (t.kind) {
        case Tok::CBrace:
          return true;
        case Tok::OBrace: {
          Token r = m_Tok.Next();
          if (r.kind != Tok::Name) return Error("reference name expected");
          Token close = m_Tok.Next();
          if (close.kind == Tok::Guid) close = m_Tok.Next();
          if (close.kind != Tok::CBrace) return Error("'}' expected after reference");
          XObject::Child c;
          c.reference = r.text;
          obj.children.push_back(std::move(c));
          break;
        }
        case Tok::Name: {
          XObject::Child c;
          c.object = std::make_unique<XObject>();
          c.object->type = t.text;
          if (!ParseObject(*c.object, depth + 1)) return false;
          obj.children.push_back(std::move(c));
          break;
        }
        case Tok::Int:
        case Tok::Float: {
          if (++m_Items > kMaxDataItems) return Error("too many data items");
          Datum d;
          d.isInt = t.kind == Tok::Int;
          d.number = t.number;
          obj.data.push_back(d);
          break;
        }
        case Tok::String: {
          if (++m_Items > kMaxDataItems) return Error("too many data items");
          Datum d;
          d.isString = true;
          d.stringIndex = (uint32_t)obj.strings.size();
          obj.strings.push_back(std::move(t.text));
          obj.data.push_back(d);
          break;
        }
        case Tok::Punct:
        case Tok::Guid:
          break;
        case Tok::End:
          return Error("file ends inside " + obj.type);
        default:
          return Error("unexpected token inside " + obj.type);
      }
    }
  }

  Tokenizer& m_Tok;
  std::string m_Message;
  size_t m_Items = 0;  // data items of the whole file so far
};

// ---------------------------------------------------------------------------
// Reading the data of one object with bounds checks.

class Cursor {
 public:
  Cursor(const XObject& o, std::string& error) : m_O(o), m_Error(error) {}
  size_t Left() const { return m_O.data.size() - m_Pos; }
  bool UInt(uint32_t& v, const char* what) {
    if (m_Pos >= m_O.data.size()) return Fail(std::string("missing ") + what);
    const Datum& d = m_O.data[m_Pos++];
    if (d.isString || d.number < 0 || d.number > 4294967295.0 || d.number != std::floor(d.number))
      return Fail(std::string("bad ") + what);
    v = (uint32_t)d.number;
    return true;
  }
  bool Float(float& v, const char* what) {
    if (m_Pos >= m_O.data.size()) return Fail(std::string("missing ") + what);
    const Datum& d = m_O.data[m_Pos++];
    if (d.isString) return Fail(std::string("bad ") + what);
    v = (float)d.number;
    if (!std::isfinite(v)) return Fail(std::string("bad ") + what);
    return true;
  }
  bool String(std::string& s, const char* what) {
    if (m_Pos >= m_O.data.size()) return Fail(std::string("missing ") + what);
    const Datum& d = m_O.data[m_Pos++];
    if (!d.isString) return Fail(std::string("bad ") + what);
    s = m_O.strings[d.stringIndex];
    return true;
  }
  // A count of items of `each` values that must fit in the data left.
  bool Count(uint32_t& n, size_t each, const char* what) {
    if (!UInt(n, what)) return false;
    if (each > 0 && (uint64_t)n * each > Left()) return Fail(std::string(what) + " exceeds the data");
    return true;
  }
  bool Vec3(D3DXVECTOR3& v, const char* what) {
    return Float(v.x, what) && Float(v.y, what) && Float(v.z, what);
  }
  bool Matrix(D3DXMATRIX& m, const char* what) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        if (!Float(m.m[r][c], what)) return false;
    return true;
  }
  bool Fail(const std::string& why) {
    if (m_Error.empty()) m_Error = m_O.type + ": " + why;
    return false;
  }

 private:
  const XObject& m_O;
  std::string& m_Error;
  size_t m_Pos = 0;
};

class SceneReader {
 public:
  SceneReader(const std::vector<std::unique_ptr<XObject>>& top, XScene& scene, std::string& error)
      : m_Top(top), m_Scene(scene), m_Error(error) {
    for (const auto& o : top) Index(*o, 0);
  }

  bool Read() {
    for (const auto& o : m_Top) {
      const XObject& obj = *o;
      if (obj.type == "Frame") {
        m_Scene.Frames.emplace_back();
        if (!ReadFrame(obj, m_Scene.Frames.back(), 0)) return false;
      } else if (obj.type == "Mesh") {
        // A named mesh used by reference from a frame is not a loose mesh.
        if (!obj.name.empty() && m_Referenced.count(obj.name)) continue;
        m_Scene.Meshes.emplace_back();
        if (!ReadMesh(obj, m_Scene.Meshes.back())) return false;
      } else if (obj.type == "AnimationSet") {
        m_Scene.AnimationSets.emplace_back();
        if (!ReadAnimationSet(obj, m_Scene.AnimationSets.back())) return false;
      } else if (obj.type == "AnimTicksPerSecond") {
        Cursor c(obj, m_Error);
        uint32_t tps;
        if (!c.UInt(tps, "ticks per second")) return false;
        if (tps == 0) return c.Fail("ticks per second is zero");
        m_Scene.TicksPerSecond = tps;
      }
      // Anything else (header, loose materials, unknown objects) is skipped.
    }
    return true;
  }

 private:
  void Index(const XObject& o, uint32_t depth) {
    if (!o.name.empty() && !m_Named.count(o.name)) m_Named[o.name] = &o;
    if (depth > kMaxDepth) return;
    for (const auto& c : o.children) {
      if (c.object) {
        Index(*c.object, depth + 1);
      } else if (o.type == "Frame") {
        m_Referenced[c.reference] = true;
      }
    }
  }
  const XObject* Resolve(const XObject::Child& c) const {
    if (c.object) return c.object.get();
    auto it = m_Named.find(c.reference);
    return it == m_Named.end() ? nullptr : it->second;
  }

  bool ReadFrame(const XObject& o, XFrameRecord& f, uint32_t depth) {
    if (depth > kMaxDepth) return Fail("frames nested too deeply");
    f.Name = o.name;
    for (const auto& child : o.children) {
      const XObject* c = Resolve(child);
      if (!c) return Fail("unknown reference '" + child.reference + "' in frame " + o.name);
      if (c->type == "FrameTransformMatrix") {
        Cursor cur(*c, m_Error);
        if (!cur.Matrix(f.Transform, "frame matrix")) return false;
      } else if (c->type == "Frame") {
        if (!child.object) continue;  // a frame reference adds nothing
        f.Children.emplace_back();
        if (!ReadFrame(*c, f.Children.back(), depth + 1)) return false;
      } else if (c->type == "Mesh") {
        f.Meshes.emplace_back();
        if (!ReadMesh(*c, f.Meshes.back())) return false;
      }
    }
    return true;
  }

  bool ReadMaterial(const XObject& o, D3DXMATERIAL& m) {
    Cursor c(o, m_Error);
    D3DMATERIAL9& d = m.MatD3D;
    if (!c.Float(d.Diffuse.r, "face colour") || !c.Float(d.Diffuse.g, "face colour") ||
        !c.Float(d.Diffuse.b, "face colour") || !c.Float(d.Diffuse.a, "face colour") ||
        !c.Float(d.Power, "power") || !c.Float(d.Specular.r, "specular") ||
        !c.Float(d.Specular.g, "specular") || !c.Float(d.Specular.b, "specular") ||
        !c.Float(d.Emissive.r, "emissive") || !c.Float(d.Emissive.g, "emissive") ||
        !c.Float(d.Emissive.b, "emissive"))
      return false;
    d.Specular.a = 1.0f;
    d.Emissive.a = 1.0f;
    d.Ambient = D3DCOLORVALUE{0, 0, 0, 1.0f};
    for (const auto& child : o.children) {
      const XObject* t = Resolve(child);
      if (t && t->type == "TextureFilename") {
        Cursor tc(*t, m_Error);
        if (!tc.String(m.TextureFilename, "texture file name")) return false;
        break;
      }
    }
    return true;
  }

  bool ReadMesh(const XObject& o, XMeshRecord& m) {
    m.Name = o.name;
    Cursor c(o, m_Error);
    uint32_t nv;
    if (!c.Count(nv, 3, "vertex count")) return false;
    m.Positions.resize(nv);
    for (auto& p : m.Positions)
      if (!c.Vec3(p, "vertex")) return false;
    uint32_t nf;
    if (!c.Count(nf, 4, "face count")) return false;  // each face: count + 3 indices at least
    m.FaceSizes.resize(nf);
    m.FaceIndices.reserve((size_t)nf * 3);
    for (auto& size : m.FaceSizes) {
      if (!c.Count(size, 1, "face size")) return false;
      if (size < 3) return c.Fail("face with fewer than three corners");
      for (uint32_t k = 0; k < size; ++k) {
        uint32_t idx;
        if (!c.UInt(idx, "face index")) return false;
        if (idx >= nv) return c.Fail("face index out of range");
        m.FaceIndices.push_back(idx);
      }
    }
    for (const auto& child : o.children) {
      const XObject* sub = Resolve(child);
      if (!sub) return Fail("unknown reference '" + child.reference + "' in mesh " + o.name);
      const std::string& t = sub->type;
      if (t == "MeshNormals") {
        if (!ReadNormals(*sub, m)) return false;
      } else if (t == "MeshTextureCoords") {
        Cursor tc(*sub, m_Error);
        uint32_t n;
        if (!tc.Count(n, 2, "texture coordinate count")) return false;
        if (n > nv) return tc.Fail("more texture coordinates than vertices");
        m.HasTexCoords = true;
        m.TexCoords.assign(nv, D3DXVECTOR2(0, 0));
        for (uint32_t i = 0; i < n; ++i)
          if (!tc.Float(m.TexCoords[i].x, "u") || !tc.Float(m.TexCoords[i].y, "v")) return false;
      } else if (t == "MeshVertexColors") {
        Cursor cc(*sub, m_Error);
        uint32_t n;
        if (!cc.Count(n, 5, "vertex colour count")) return false;
        m.HasColors = true;
        m.Colors.assign(nv, 0xFFFFFFFFu);
        for (uint32_t i = 0; i < n; ++i) {
          uint32_t idx;
          float r, g, b, a;
          if (!cc.UInt(idx, "colour index") || !cc.Float(r, "colour") || !cc.Float(g, "colour") ||
              !cc.Float(b, "colour") || !cc.Float(a, "colour"))
            return false;
          if (idx >= nv) return cc.Fail("colour index out of range");
          m.Colors[idx] = PackColor(r, g, b, a);
        }
      } else if (t == "MeshMaterialList") {
        if (!ReadMaterialList(*sub, m)) return false;
      } else if (t == "XSkinMeshHeader") {
        m.HasSkin = true;
      } else if (t == "SkinWeights") {
        m.HasSkin = true;
        Cursor sc(*sub, m_Error);
        XSkinWeights w;
        uint32_t n;
        if (!sc.String(w.BoneName, "bone name") || !sc.Count(n, 2, "weight count")) return false;
        w.Vertices.resize(n);
        w.Weights.resize(n);
        for (auto& v : w.Vertices) {
          if (!sc.UInt(v, "weight vertex")) return false;
          if (v >= nv) return sc.Fail("weight vertex out of range");
        }
        for (auto& f : w.Weights)
          if (!sc.Float(f, "weight")) return false;
        if (!sc.Matrix(w.Offset, "offset matrix")) return false;
        m.Skin.push_back(std::move(w));
      }
    }
    return true;
  }

  // A later normals object of the same mesh replaces an earlier one whole.
  bool ReadNormals(const XObject& o, XMeshRecord& m) {
    m.HasNormals = false;
    m.Normals.clear();
    m.NormalFaceIndices.clear();
    Cursor c(o, m_Error);
    uint32_t nn;
    if (!c.Count(nn, 3, "normal count")) return false;
    m.Normals.resize(nn);
    for (auto& n : m.Normals)
      if (!c.Vec3(n, "normal")) return false;
    uint32_t nf;
    if (!c.Count(nf, 4, "normal face count")) return false;
    if (nf != m.FaceSizes.size()) return c.Fail("normal faces differ from mesh faces");
    m.NormalFaceIndices.reserve(m.FaceIndices.size());
    for (uint32_t f = 0; f < nf; ++f) {
      uint32_t size;
      if (!c.Count(size, 1, "normal face size")) return false;
      if (size != m.FaceSizes[f]) return c.Fail("normal face size differs from its mesh face");
      for (uint32_t k = 0; k < size; ++k) {
        uint32_t idx;
        if (!c.UInt(idx, "normal index")) return false;
        if (idx >= nn) return c.Fail("normal index out of range");
        m.NormalFaceIndices.push_back(idx);
      }
    }
    m.HasNormals = true;
    return true;
  }

  bool ReadMaterialList(const XObject& o, XMeshRecord& m) {
    Cursor c(o, m_Error);
    uint32_t nMaterials, nIndices;
    if (!c.UInt(nMaterials, "material count") || !c.Count(nIndices, 1, "face material count"))
      return false;
    if (nIndices > m.FaceSizes.size()) return c.Fail("more face materials than faces");
    // A later list replaces an earlier one whole.
    m.Materials.clear();
    m.FaceMaterials.clear();
    m.HasMaterialList = true;
    m.FaceMaterials.resize(m.FaceSizes.size(), 0);
    for (uint32_t i = 0; i < nIndices; ++i)
      if (!c.UInt(m.FaceMaterials[i], "face material")) return false;
    // Fewer entries than faces: the last one repeats.
    if (nIndices > 0)
      for (size_t i = nIndices; i < m.FaceMaterials.size(); ++i) m.FaceMaterials[i] = m.FaceMaterials[nIndices - 1];
    for (const auto& child : o.children) {
      const XObject* mat = Resolve(child);
      if (!mat) return Fail("unknown material reference '" + child.reference + "'");
      if (mat->type != "Material") continue;
      if (m.Materials.size() >= nMaterials) break;
      m.Materials.emplace_back();
      if (!ReadMaterial(*mat, m.Materials.back())) return false;
    }
    if (m.Materials.size() != nMaterials) return c.Fail("material count differs from the materials given");
    for (uint32_t a : m.FaceMaterials)
      if (a >= nMaterials && !(nMaterials == 0 && a == 0)) return c.Fail("face material out of range");
    return true;
  }

  bool ReadAnimationSet(const XObject& o, XAnimationSetRecord& set) {
    set.Name = o.name;
    for (const auto& child : o.children) {
      if (!child.object || child.object->type != "Animation") continue;
      const XObject& a = *child.object;
      XAnimationRecord rec;
      for (const auto& ac : a.children) {
        if (!ac.object) {
          if (rec.Target.empty()) rec.Target = ac.reference;
          continue;
        }
        const XObject& k = *ac.object;
        if (k.type == "Frame" && rec.Target.empty()) {
          rec.Target = k.name;
        } else if (k.type == "AnimationKey") {
          if (!ReadKeys(k, rec)) return false;
        } else if (k.type == "AnimationOptions") {
          Cursor oc(k, m_Error);
          uint32_t open;
          if (!oc.UInt(open, "open/closed flag")) return false;
          rec.Open = open != 0;
        }
      }
      if (rec.Target.empty()) continue;  // animates nothing
      set.Animations.push_back(std::move(rec));
    }
    return true;
  }

  bool ReadKeys(const XObject& k, XAnimationRecord& rec) {
    Cursor c(k, m_Error);
    uint32_t type, n;
    if (!c.UInt(type, "key type") || !c.Count(n, 3, "key count")) return false;
    uint32_t want = type == 0 ? 4 : type == 1 || type == 2 ? 3 : type == 4 ? 16 : 0;
    if (want == 0) return c.Fail("unknown key type");
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t time, count;
      if (!c.UInt(time, "key time") || !c.Count(count, 1, "key value count")) return false;
      if (count != want) return c.Fail("key value count does not fit the key type");
      if (type == 0) {
        XQuaternionKey q;
        q.Time = (float)time;
        if (!c.Float(q.Value.w, "rotation") || !c.Float(q.Value.x, "rotation") ||
            !c.Float(q.Value.y, "rotation") || !c.Float(q.Value.z, "rotation"))
          return false;
        // Files store w, x, y, z of the conjugate of the rotation that
        // turns a row vector: a key equal to its frame's matrix reads back
        // as that matrix only with the vector part negated.
        q.Value.x = -q.Value.x;
        q.Value.y = -q.Value.y;
        q.Value.z = -q.Value.z;
        rec.Rotation.push_back(q);
      } else if (type == 4) {
        XMatrixKey mk;
        mk.Time = (float)time;
        if (!c.Matrix(mk.Value, "matrix key")) return false;
        rec.Matrix.push_back(mk);
      } else {
        XVectorKey v;
        v.Time = (float)time;
        if (!c.Vec3(v.Value, "vector key")) return false;
        (type == 1 ? rec.Scale : rec.Position).push_back(v);
      }
    }
    return true;
  }

  bool Fail(const std::string& why) {
    if (m_Error.empty()) m_Error = why;
    return false;
  }

  const std::vector<std::unique_ptr<XObject>>& m_Top;
  XScene& m_Scene;
  std::string& m_Error;
  std::unordered_map<std::string, const XObject*> m_Named;
  std::unordered_map<std::string, bool> m_Referenced;
};

// MSZIP: a 32-bit total size, then blocks of {uncompressed size u16,
// compressed size u16, "CK", deflate data}; each block may refer back into
// the previous block's output.
bool Inflate(const uint8_t* p, size_t n, std::vector<uint8_t>& out, std::string& error) {
  if (n < 4) {
    error = "truncated compressed file";
    return false;
  }
  uint32_t total;
  std::memcpy(&total, p, 4);
  if (total < 16 || total - 16 > kMaxDecompressed) {
    error = "bad uncompressed size";
    return false;
  }
  size_t expected = total - 16;
  size_t pos = 4;
  out.clear();
  while (pos < n && out.size() < expected) {
    if (n - pos < 6) {
      error = "truncated compressed block";
      return false;
    }
    uint16_t usize, csize;
    std::memcpy(&usize, p + pos, 2);
    std::memcpy(&csize, p + pos + 2, 2);
    pos += 4;
    if (csize < 2 || csize > n - pos || p[pos] != 'C' || p[pos + 1] != 'K' ||
        usize > expected - out.size()) {
      error = "bad compressed block";
      return false;
    }
    z_stream zs;
    std::memset(&zs, 0, sizeof(zs));
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) {
      error = "zlib failed";
      return false;
    }
    size_t dict = std::min<size_t>(out.size(), 32768);
    if (dict > 0) inflateSetDictionary(&zs, out.data() + out.size() - dict, (uInt)dict);
    size_t start = out.size();
    out.resize(start + usize);
    zs.next_in = const_cast<Bytef*>(p + pos + 2);
    zs.avail_in = csize - 2;
    zs.next_out = out.data() + start;
    zs.avail_out = usize;
    int rc = inflate(&zs, Z_FINISH);
    bool ok = (rc == Z_STREAM_END || rc == Z_OK || rc == Z_BUF_ERROR) && zs.avail_out == 0;
    inflateEnd(&zs);
    if (!ok) {
      error = "corrupt compressed block";
      return false;
    }
    pos += csize;
  }
  if (out.size() != expected) {
    error = "compressed data shorter than announced";
    return false;
  }
  return true;
}

}  // namespace

bool ParseXFile(const uint8_t* data, size_t size, XScene& scene, std::string& error) {
  scene = XScene();
  error.clear();
  if (!data || size < 16 || std::memcmp(data, "xof ", 4) != 0) {
    error = "not an .X file";
    return false;
  }
  std::string format((const char*)data + 8, 4);
  std::string floatSize((const char*)data + 12, 4);
  if (floatSize != "0032" && floatSize != "0064") {
    error = "bad float size";
    return false;
  }
  bool doubles = floatSize == "0064";
  const uint8_t* body = data + 16;
  size_t bodySize = size - 16;
  std::vector<uint8_t> inflated;
  if (format == "tzip" || format == "bzip") {
    if (!Inflate(body, bodySize, inflated, error)) return false;
    body = inflated.data();
    bodySize = inflated.size();
  } else if (format != "txt " && format != "bin ") {
    error = "unknown encoding";
    return false;
  }
  std::unique_ptr<Tokenizer> tok;
  if (format[0] == 't')
    tok = std::make_unique<TextTokenizer>(body, bodySize);
  else
    tok = std::make_unique<BinaryTokenizer>(body, bodySize, doubles);
  std::vector<std::unique_ptr<XObject>> top;
  TreeParser parser(*tok);
  if (!parser.Parse(top, error)) return false;
  SceneReader reader(top, scene, error);
  if (!reader.Read()) {
    if (error.empty()) error = "malformed data";
    return false;
  }
  return true;
}

}  // namespace platform::xfile

#include "tools/datagen/ComicArt.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/datagen/HudPainter.h"
#include "tools/datagen/HudPictures.h"
#include "tools/datagen/PdaPaint.h"

namespace datagen::comic {

namespace {

using namespace datagen::paint;

const uint32_t INK = Argb(255, 12, 12, 16);
const uint32_t ARMOUR = Argb(255, 96, 118, 150), ARMOUR_DARK = Argb(255, 58, 72, 96);
const uint32_t VISOR = Argb(255, 255, 170, 60);
const uint32_t RED_SHOT = Argb(255, 255, 70, 50), BLUE_SHOT = Argb(255, 70, 150, 255);
const uint32_t RED_BODY = Argb(255, 190, 40, 36), BLUE_BODY = Argb(255, 40, 90, 200);

struct Pt {
  float x, y;
};

// Even-odd scan fill of a polygon.
void Poly(TestPicture& q, const std::vector<Pt>& pts, uint32_t color) {
  float minY = pts[0].y, maxY = pts[0].y;
  for (const Pt& p : pts) minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  for (int y = std::max(0, int(minY)); y <= std::min(int(q.height) - 1, int(maxY) + 1); ++y) {
    const float fy = float(y) + 0.5f;
    std::vector<float> xs;
    for (size_t i = 0; i < pts.size(); ++i) {
      const Pt& a = pts[i];
      const Pt& b = pts[(i + 1) % pts.size()];
      if ((a.y <= fy && b.y > fy) || (b.y <= fy && a.y > fy)) xs.push_back(a.x + (fy - a.y) / (b.y - a.y) * (b.x - a.x));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = std::max(0, int(std::lround(xs[i]))); x < std::min(int(q.width), int(std::lround(xs[i + 1]))); ++x)
        Blend(q, x, y, color);
  }
}

void Ellipse(TestPicture& q, float cx, float cy, float rx, float ry, uint32_t color) {
  for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
    for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
      const float dx = (float(x) + 0.5f - cx) / rx, dy = (float(y) + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Blend(q, x, y, color);
    }
}
// An ellipse with a dark outline of width w.
void InkEllipse(TestPicture& q, float cx, float cy, float rx, float ry, uint32_t color, float w = 2.5f) {
  Ellipse(q, cx, cy, rx + w, ry + w, INK);
  Ellipse(q, cx, cy, rx, ry, color);
}
void InkLine(TestPicture& q, float x0, float y0, float x1, float y1, float width, uint32_t color) {
  Line(q, x0, y0, x1, y1, width + 5.0f, INK);
  Line(q, x0, y0, x1, y1, width, color);
}
void InkBox(TestPicture& q, float x, float y, float w, float h, uint32_t color) {
  Fill(q, int(x) - 3, int(y) - 3, int(w) + 6, int(h) + 6, INK);
  Fill(q, int(x), int(y), int(w), int(h), color);
}
// A soft light: discs of rising strength toward the middle.
void Glow(TestPicture& q, float cx, float cy, float r, uint32_t rgb) {
  for (int i = 8; i >= 1; --i) Disc(q, cx, cy, r * float(i) / 8.0f, (uint32_t(22 + 4 * (8 - i)) << 24) | (rgb & 0xFFFFFF));
  Disc(q, cx, cy, r * 0.25f, 0xFF000000u | Lerp(rgb, 0xFFFFFFFFu, 0.6f));
}
void Gradient(TestPicture& q, uint32_t top, uint32_t bottom, int y0 = 0, int y1 = -1) {
  if (y1 < 0) y1 = int(q.height);
  for (int y = y0; y < y1; ++y) Fill(q, 0, y, int(q.width), 1, Lerp(top, bottom, float(y - y0) / float(std::max(1, y1 - y0 - 1))));
}
// A hash for scattering stars and sparks the same way every run.
uint32_t Hash(uint32_t n) {
  n = (n ^ 61u) ^ (n >> 16);
  n *= 9u;
  n ^= n >> 4;
  n *= 0x27d4eb2du;
  return n ^ (n >> 15);
}
void Stars(TestPicture& q, uint32_t seed, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t h = Hash(seed * 1000u + uint32_t(i));
    const float x = float(h % q.width), y = float((h >> 12) % q.height);
    Disc(q, x, y, (h >> 24) % 7 == 0 ? 1.6f : 0.8f, Argb(200 + int((h >> 8) % 55), 230, 235, 255));
  }
}

// ---- People ----

// The hero standing, s = height in pixels / 100, facing right (dir 1) or
// left (-1), the gun held forward.
void Hero(TestPicture& q, float x, float feet, float s, float dir, bool running = false) {
  const float hipY = feet - 46 * s, shoulderY = feet - 74 * s;
  const float stride = running ? 16 * s : 7 * s;
  InkLine(q, x, hipY, x - stride, feet, 10 * s, ARMOUR_DARK);
  InkLine(q, x, hipY, x + stride, feet, 10 * s, ARMOUR_DARK);
  InkBox(q, x - dir * 20 * s - 7 * s, shoulderY - 2 * s, 14 * s, 26 * s, Argb(255, 70, 80, 60));  // pack
  InkEllipse(q, x, feet - 62 * s, 13 * s, 20 * s, ARMOUR);
  Ellipse(q, x + dir * 3 * s, feet - 68 * s, 6 * s, 8 * s, Argb(255, 140, 165, 200));
  InkEllipse(q, x, feet - 92 * s, 10 * s, 11 * s, ARMOUR);
  Ellipse(q, x + dir * 5 * s, feet - 92 * s, 5 * s, 4 * s, VISOR);
  // The arm and the gun.
  const float handX = x + dir * 26 * s, handY = feet - 64 * s;
  InkLine(q, x + dir * 4 * s, shoulderY, handX, handY, 7 * s, ARMOUR);
  InkLine(q, handX - dir * 4 * s, handY - 2 * s, handX + dir * 22 * s, handY - 3 * s, 6 * s, Argb(255, 60, 64, 70));
}

// The hero seen from behind, walking in.
void HeroFromBehind(TestPicture& q, float x, float feet, float s) {
  InkLine(q, x - 6 * s, feet - 46 * s, x - 10 * s, feet, 11 * s, ARMOUR_DARK);
  InkLine(q, x + 6 * s, feet - 46 * s, x + 11 * s, feet - 3 * s, 11 * s, ARMOUR_DARK);
  InkLine(q, x - 15 * s, feet - 74 * s, x - 22 * s, feet - 48 * s, 7 * s, ARMOUR);
  InkLine(q, x + 15 * s, feet - 74 * s, x + 24 * s, feet - 52 * s, 7 * s, ARMOUR);
  InkLine(q, x + 24 * s, feet - 52 * s, x + 26 * s, feet - 30 * s, 6 * s, Argb(255, 60, 64, 70));
  InkEllipse(q, x, feet - 64 * s, 16 * s, 21 * s, ARMOUR);
  InkBox(q, x - 10 * s, feet - 80 * s, 20 * s, 26 * s, Argb(255, 70, 80, 60));
  InkEllipse(q, x, feet - 94 * s, 10 * s, 11 * s, ARMOUR);
}

// Head and shoulders at the radio: the HUD's portrait, larger, with a cap
// (the commander) or goggles and red hair (the engineer).
void Speaker(TestPicture& q, bool commander) {
  Gradient(q, commander ? Argb(255, 40, 60, 80) : Argb(255, 80, 64, 40), Argb(255, 14, 16, 22));
  const int size = std::min(int(q.width), int(q.height)) - 20;
  const int x = (int(q.width) - size) / 2, y = int(q.height) - size;
  Painter painter(q);
  PaintPortrait(painter, x, y, size, commander ? 0x405870 : 0x706040, commander ? 0xFFC89070u : 0xFFE0B090u);
  const float s = float(size), cx = float(x) + s * 0.5f, cy = float(y) + s * 0.40f;
  if (commander) {
    Ellipse(q, cx, cy - s * 0.15f, s * 0.25f, s * 0.10f, Argb(255, 40, 60, 40));  // the cap
    Fill(q, int(cx - s * 0.27f), int(cy - s * 0.12f), int(s * 0.54f), int(s * 0.04f), Argb(255, 20, 30, 20));
    Disc(q, cx, cy - s * 0.17f, s * 0.03f, Argb(255, 230, 200, 60));          // its badge
    Fill(q, int(cx - s * 0.08f), int(cy + s * 0.10f), int(s * 0.16f), int(s * 0.03f), Argb(255, 90, 60, 40));  // moustache
  } else {
    Ellipse(q, cx, cy - s * 0.14f, s * 0.24f, s * 0.12f, Argb(255, 200, 80, 40));  // hair
    Fill(q, int(cx - s * 0.2f), int(cy - s * 0.07f), int(s * 0.4f), int(s * 0.06f), Argb(255, 60, 60, 70));
    Disc(q, cx - s * 0.08f, cy - s * 0.04f, s * 0.05f, Argb(255, 120, 220, 240));  // goggles
    Disc(q, cx + s * 0.08f, cy - s * 0.04f, s * 0.05f, Argb(255, 120, 220, 240));
  }
  // The headset's microphone.
  Line(q, cx + s * 0.2f, cy, cx + s * 0.1f, cy + s * 0.14f, s * 0.02f, INK);
  Disc(q, cx + s * 0.1f, cy + s * 0.14f, s * 0.025f, INK);
}

// ---- Creatures and shots ----

void Creature(TestPicture& q, float cx, float feet, float size, uint32_t body, float facing) {
  const float cy = feet - size * 0.45f;
  for (int i = 0; i < 4; ++i) {
    const float lx = cx + (float(i) - 1.5f) * size * 0.28f;
    InkLine(q, lx, cy, lx + (float(i) - 1.5f) * size * 0.12f, feet, size * 0.09f, Lerp(body, INK, 0.3f));
  }
  // Horns, the body, the eyes and the jaw.
  for (float side : {-1.0f, 1.0f})
    Poly(q, {{cx + side * size * 0.18f, cy - size * 0.25f}, {cx + side * size * 0.36f, cy - size * 0.62f},
             {cx + side * size * 0.32f, cy - size * 0.2f}},
         Argb(255, 230, 220, 200));
  InkEllipse(q, cx, cy, size * 0.55f, size * 0.36f, body, 3.0f);
  Ellipse(q, cx - facing * size * 0.1f, cy - size * 0.12f, size * 0.3f, size * 0.12f, Lerp(body, 0xFFFFFFFFu, 0.25f));
  for (float side : {-1.0f, 1.0f}) {
    Glow(q, cx + facing * size * 0.25f + side * size * 0.1f, cy - size * 0.08f, size * 0.09f, 0xFFFFE040u);
  }
  Ellipse(q, cx + facing * size * 0.3f, cy + size * 0.15f, size * 0.17f, size * 0.08f, INK);
  for (int t = 0; t < 4; ++t) {
    const float tx = cx + facing * size * 0.18f + float(t) * facing * size * 0.07f;
    Poly(q, {{tx, cy + size * 0.09f}, {tx + facing * size * 0.035f, cy + size * 0.17f}, {tx + facing * size * 0.07f, cy + size * 0.09f}},
         0xFFF0F0E0u);
  }
}

// A shot flying from (x0, y0) to (x1, y1): a fading trail and a bright ball.
void Shot(TestPicture& q, float x0, float y0, float x1, float y1, uint32_t color) {
  for (int i = 0; i < 10; ++i) {
    const float t = float(i) / 10.0f;
    Disc(q, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, 3.0f + 6.0f * t, (uint32_t(30 + 12 * i) << 24) | (color & 0xFFFFFF));
  }
  Glow(q, x1, y1, 22.0f, color);
}

// A burst of hits: short rays round a point.
void Burst(TestPicture& q, float cx, float cy, float r, uint32_t color) {
  for (int i = 0; i < 10; ++i) {
    const float a = float(i) * 0.628f + 0.2f, len = r * (0.6f + 0.4f * float(Hash(uint32_t(i)) % 100) / 100.0f);
    Line(q, cx + std::cos(a) * r * 0.3f, cy + std::sin(a) * r * 0.3f, cx + std::cos(a) * len, cy + std::sin(a) * len,
         3.0f, color);
  }
}

// ---- Places ----

void Station(TestPicture& q, bool lit) {
  Gradient(q, Argb(255, 4, 6, 18), Argb(255, 16, 20, 44));
  Stars(q, lit ? 7u : 11u, int(q.width * q.height / 900));
  const float cx = float(q.width) * 0.58f, cy = float(q.height) * 0.5f, r = float(q.height) * 0.34f;
  const uint32_t hull = lit ? Argb(255, 120, 130, 150) : Argb(255, 50, 54, 64);
  // Solar wings, the ring, its spokes and the core module.
  for (float side : {-1.0f, 1.0f}) {
    InkBox(q, cx + side * r * 1.35f - r * 0.3f, cy - r * 0.18f, r * 0.6f, r * 0.36f, Argb(255, 30, 50, 110));
    for (int i = 1; i < 4; ++i)
      Fill(q, int(cx + side * r * 1.35f - r * 0.3f + float(i) * r * 0.15f), int(cy - r * 0.18f), 1, int(r * 0.36f),
           Argb(255, 90, 120, 190));
    Line(q, cx + side * r * 0.3f, cy, cx + side * r * 1.05f, cy, 5.0f, hull);
  }
  Ring(q, cx, cy, r + 3.0f, r * 0.22f, INK);
  Ring(q, cx, cy, r, r * 0.18f, hull);
  for (int i = 0; i < 4; ++i) {
    const float a = 0.785f + float(i) * 1.5708f;
    Line(q, cx, cy, cx + std::cos(a) * r * 0.85f, cy + std::sin(a) * r * 0.85f, 6.0f, hull);
  }
  InkEllipse(q, cx, cy, r * 0.3f, r * 0.3f, hull);
  // The windows round the ring.
  for (int i = 0; i < 24; ++i) {
    const float a = float(i) * 0.2618f;
    const bool on = lit ? Hash(uint32_t(i)) % 4 != 0 : i == 5;
    Disc(q, cx + std::cos(a) * r * 0.91f, cy + std::sin(a) * r * 0.91f, 3.0f,
         on ? (lit ? Argb(255, 255, 220, 120) : Argb(255, 255, 60, 40)) : Argb(255, 20, 22, 28));
  }
  if (!lit) Glow(q, cx + std::cos(1.309f) * r * 0.91f, cy + std::sin(1.309f) * r * 0.91f, 14.0f, 0xFFFF4030u);
}

// A room's back wall and floor with panels.
void Room(TestPicture& q, uint32_t wall, uint32_t floor, float horizon) {
  Gradient(q, Lerp(wall, 0xFF000000u, 0.4f), wall, 0, int(horizon));
  Gradient(q, floor, Lerp(floor, 0xFF000000u, 0.5f), int(horizon), int(q.height));
  for (int x = 0; x < int(q.width); x += 70) Fill(q, x, 0, 3, int(horizon), Lerp(wall, 0xFF000000u, 0.5f));
  Fill(q, 0, int(horizon) - 3, int(q.width), 6, INK);
}

// A corridor in perspective to a vanishing point, its lights along the roof.
void Corridor(TestPicture& q, float vx, float vy, uint32_t wall, float doorWidth) {
  const float w = float(q.width), h = float(q.height);
  Gradient(q, Lerp(wall, 0xFF000000u, 0.3f), Lerp(wall, 0xFF000000u, 0.6f));
  Poly(q, {{0, h}, {w, h}, {vx + 40, vy + 40}, {vx - 40, vy + 40}}, Lerp(wall, 0xFF000000u, 0.45f));   // floor
  Poly(q, {{0, 0}, {w, 0}, {vx + 40, vy - 40}, {vx - 40, vy - 40}}, Lerp(wall, 0xFF000000u, 0.7f));    // roof
  Fill(q, int(vx - 40), int(vy - 40), 80, 80, Lerp(wall, 0xFF000000u, 0.8f));                            // the far end
  for (int i = 1; i < 7; ++i) {  // frames along the walls
    const float t = 1.0f - 1.0f / (1.0f + float(i) * 0.6f);
    const float l = (1 - t) * 0 + t * (vx - 40), r = (1 - t) * w + t * (vx + 40);
    const float top = t * (vy - 40), bottom = (1 - t) * h + t * (vy + 40);
    Line(q, l, top, l, bottom, 3.0f, INK);
    Line(q, r, top, r, bottom, 3.0f, INK);
    Glow(q, (l + r) / 2, top + 6, 10.0f * (1.2f - t), 0xFFE0F0FFu);
  }
  Line(q, 0, 0, vx - 40, vy - 40, 3.0f, INK);
  Line(q, w, 0, vx + 40, vy - 40, 3.0f, INK);
  Line(q, 0, h, vx - 40, vy + 40, 3.0f, INK);
  Line(q, w, h, vx + 40, vy + 40, 3.0f, INK);
  if (doorWidth > 0) {  // a gate sliding open at the far end, light beyond
    Fill(q, int(vx - doorWidth / 2), int(vy - 40), int(doorWidth), 80, Argb(255, 200, 230, 255));
    Fill(q, int(vx - 40), int(vy - 40), int(40 - doorWidth / 2), 80, Argb(255, 150, 130, 40));
    Fill(q, int(vx + doorWidth / 2), int(vy - 40), int(40 - doorWidth / 2), 80, Argb(255, 150, 130, 40));
  }
}

void Generator(TestPicture& q, float cx, float base, float w, float h, uint32_t light) {
  InkBox(q, cx - w / 2, base - h, w, h, Argb(255, 70, 76, 86));
  InkEllipse(q, cx, base - h, w / 2, w * 0.15f, Argb(255, 96, 104, 118));
  Fill(q, int(cx - w * 0.3f), int(base - h * 0.8f), int(w * 0.6f), int(h * 0.5f), light);
  for (int i = 0; i < 4; ++i)
    Fill(q, int(cx - w * 0.3f), int(base - h * 0.8f + float(i) * h * 0.12f), int(w * 0.6f), 2, Argb(255, 30, 34, 40));
}

// ---- The scenes ----

void DrawScene(TestPicture& q, Scene scene) {
  const float w = float(q.width), h = float(q.height);
  switch (scene) {
    case Scene::StationInSpace:
      Station(q, true);
      break;
    case Scene::StationDark:
      Station(q, false);
      break;
    case Scene::Commander:
      Speaker(q, true);
      break;
    case Scene::Engineer:
      Speaker(q, false);
      break;
    case Scene::HeroWakes: {
      Room(q, Argb(255, 40, 56, 70), Argb(255, 50, 54, 60), h * 0.55f);
      // The pod: a capsule with its lid open, blue light inside.
      InkEllipse(q, w * 0.5f, h * 0.78f, w * 0.36f, h * 0.12f, Argb(255, 150, 160, 175));
      Ellipse(q, w * 0.5f, h * 0.75f, w * 0.32f, h * 0.07f, Argb(255, 90, 170, 220));
      Poly(q, {{w * 0.16f, h * 0.74f}, {w * 0.3f, h * 0.35f}, {w * 0.55f, h * 0.3f}, {w * 0.4f, h * 0.72f}},
           Argb(120, 180, 220, 255));
      Hero(q, w * 0.62f, h * 0.78f, h * 0.0045f, -1.0f);
      Glow(q, w * 0.85f, h * 0.2f, 26.0f, 0xFFFF4030u);  // an alarm lamp
      break;
    }
    case Scene::RedShotAtBlue:
    case Scene::BlueShotAtRed: {
      const bool red = scene == Scene::RedShotAtBlue;
      const float dir = red ? 1.0f : -1.0f;
      Room(q, Argb(255, 52, 44, 58), Argb(255, 44, 40, 46), h * 0.62f);
      const float heroX = red ? w * 0.18f : w * 0.82f, creatureX = red ? w * 0.74f : w * 0.26f;
      Hero(q, heroX, h * 0.95f, h * 0.0062f, dir);
      Creature(q, creatureX, h * 0.93f, h * 0.45f, red ? BLUE_BODY : RED_BODY, -dir);
      const float gunY = h * 0.95f - 67 * h * 0.0062f;
      const uint32_t shot = red ? RED_SHOT : BLUE_SHOT;
      Shot(q, heroX + dir * 50 * h * 0.0062f, gunY, creatureX - dir * w * 0.22f, gunY + h * 0.03f, shot);
      Shot(q, heroX + dir * 50 * h * 0.0062f, gunY, creatureX - dir * w * 0.04f, gunY + h * 0.12f, shot);
      Burst(q, creatureX - dir * w * 0.04f, gunY + h * 0.12f, 30.0f, 0xFFFFF0A0u);
      break;
    }
    case Scene::CorridorToExit: {
      Corridor(q, w * 0.5f, h * 0.4f, Argb(255, 70, 90, 110), 0.0f);
      Glow(q, w * 0.5f, h * 0.4f, 46.0f, 0xFF40FF80u);  // the exit marker
      Ring(q, w * 0.5f, h * 0.4f, 30.0f, 5.0f, Argb(255, 120, 255, 160));
      HeroFromBehind(q, w * 0.44f, h * 1.02f, h * 0.0055f);
      break;
    }
    case Scene::DeadGenerators: {
      Room(q, Argb(255, 36, 40, 48), Argb(255, 30, 32, 36), h * 0.7f);
      for (int i = 0; i < 3; ++i) Generator(q, w * (0.22f + 0.28f * float(i)), h * 0.9f, w * 0.14f, h * 0.55f, Argb(255, 24, 28, 34));
      for (int i = 0; i < 14; ++i) {  // sparks off the middle one
        const uint32_t r = Hash(uint32_t(100 + i));
        const float a = float(r % 628) / 100.0f, l = 10.0f + float((r >> 10) % 30);
        Line(q, w * 0.5f, h * 0.42f, w * 0.5f + std::cos(a) * l, h * 0.42f + std::sin(a) * l, 2.0f, 0xFFFFE060u);
      }
      Glow(q, w * 0.5f, h * 0.42f, 18.0f, 0xFFFFD040u);
      break;
    }
    case Scene::HeroAtDarkPanel: {
      Room(q, Argb(255, 44, 50, 60), Argb(255, 36, 38, 44), h * 0.72f);
      for (int i = 0; i < 5; ++i)  // the red beam across the room behind
        Line(q, 0, h * 0.5f, w, h * 0.5f, float(14 - 2 * i), (uint32_t(40 + 40 * i) << 24) | 0xFF3020u);
      InkBox(q, w * 0.55f, h * 0.2f, w * 0.3f, h * 0.34f, Argb(255, 20, 24, 30));  // the dead panel
      for (int i = 0; i < 3; ++i) Disc(q, w * (0.6f + 0.08f * float(i)), h * 0.5f, 5.0f, Argb(255, 70, 30, 30));
      Hero(q, w * 0.3f, h * 0.95f, h * 0.0062f, 1.0f);
      break;
    }
    case Scene::CircuitLit: {
      Gradient(q, Argb(255, 24, 30, 44), Argb(255, 10, 12, 20));
      const uint32_t wire = Argb(255, 120, 200, 255);
      const Pt path[] = {{w * 0.2f, h * 0.8f}, {w * 0.2f, h * 0.5f}, {w * 0.5f, h * 0.5f}, {w * 0.5f, h * 0.3f},
                         {w * 0.8f, h * 0.3f}, {w * 0.8f, h * 0.15f}};
      for (size_t i = 0; i + 1 < sizeof path / sizeof path[0]; ++i) {
        Line(q, path[i].x, path[i].y, path[i + 1].x, path[i + 1].y, 16.0f, Argb(70, 80, 160, 255));
        InkLine(q, path[i].x, path[i].y, path[i + 1].x, path[i + 1].y, 6.0f, wire);
      }
      Generator(q, w * 0.2f, h * 0.95f, w * 0.3f, h * 0.2f, Argb(255, 70, 150, 255));
      for (const Pt& c : {path[2], path[4]}) InkBox(q, c.x - 12, c.y - 12, 24, 24, Argb(255, 90, 100, 120));
      Glow(q, w * 0.8f, h * 0.12f, 40.0f, 0xFF60A0FFu);  // the receptor, lit
      break;
    }
    case Scene::HeroThroughGate: {
      Corridor(q, w * 0.5f, h * 0.36f, Argb(255, 90, 84, 70), 44.0f);
      HeroFromBehind(q, w * 0.52f, h * 0.98f, h * 0.0042f);
      break;
    }
    case Scene::GuardianFallen: {
      Room(q, Argb(255, 40, 30, 44), Argb(255, 34, 28, 30), h * 0.6f);
      Glow(q, w * 0.5f, h * 0.3f, h * 0.28f, 0xFF80FFB0u);  // the core
      Ring(q, w * 0.5f, h * 0.3f, h * 0.2f, 6.0f, Argb(255, 60, 120, 90));
      // The guardian on its back, legs up and eyes out, smoke over it.
      const float gx = w * 0.36f, gy = h * 0.8f, gs = h * 0.42f;
      for (int i = 0; i < 4; ++i) {
        const float lx = gx + (float(i) - 1.5f) * gs * 0.3f;
        InkLine(q, lx, gy - gs * 0.2f, lx + (float(i) - 1.5f) * gs * 0.2f, gy - gs * 0.62f, gs * 0.09f,
                Argb(255, 90, 30, 84));
      }
      for (float side : {-1.0f, 1.0f})
        Poly(q, {{gx + side * gs * 0.5f, gy - gs * 0.05f}, {gx + side * gs * 0.95f, gy + gs * 0.12f},
                 {gx + side * gs * 0.5f, gy + gs * 0.12f}},
             Argb(255, 230, 220, 200));
      InkEllipse(q, gx, gy, gs * 0.62f, gs * 0.28f, Argb(255, 130, 44, 120), 3.0f);
      Ellipse(q, gx, gy - gs * 0.1f, gs * 0.4f, gs * 0.08f, Argb(255, 170, 90, 160));
      for (float side : {-1.0f, 1.0f}) {
        const float ex = gx + side * gs * 0.16f, ey = gy + gs * 0.05f, r = gs * 0.05f;
        Line(q, ex - r, ey - r, ex + r, ey + r, 4.0f, INK);
        Line(q, ex - r, ey + r, ex + r, ey - r, 4.0f, INK);
      }
      Ellipse(q, gx, gy + gs * 0.17f, gs * 0.12f, gs * 0.04f, INK);
      for (int i = 0; i < 9; ++i) {
        const uint32_t r = Hash(uint32_t(300 + i));
        Disc(q, gx + gs * (float(r % 100) / 100.0f - 0.5f), gy - gs * (0.45f + float((r >> 8) % 40) / 100.0f),
             14.0f + float(r % 14), Argb(80, 110, 110, 116));
      }
      Hero(q, w * 0.8f, h * 0.95f, h * 0.0048f, -1.0f);
      break;
    }
  }
}

void Balloons(TestPicture& p, const std::vector<Balloon>& balloons) {
  for (const Balloon& b : balloons) {
    const float cx = float(b.x), cy = float(b.y) + 13.0f;
    if (b.tailY > 0) {
      const float tx = cx + (float(b.tailX) - cx) * 0.8f, ty = cy + (float(b.tailY) - cy) * 0.8f;
      const float side = b.tailX < b.x ? -1.0f : 1.0f;
      Poly(p, {{cx + side * 60 - 16, cy}, {cx + side * 60 + 16, cy}, {tx, ty}}, INK);
      Poly(p, {{cx + side * 60 - 11, cy}, {cx + side * 60 + 11, cy}, {tx - side * 2, ty - 4}}, 0xFFFFFFFFu);
    }
    Ellipse(p, cx, cy, 193.0f, 38.0f, INK);
    Ellipse(p, cx, cy, 190.0f, 35.0f, 0xFFFFFFFFu);
  }
}

}  // namespace

TestPicture Page(const std::vector<std::pair<PanelBox, Scene>>& panels, const std::vector<Balloon>& balloons) {
  TestPicture page(1024, 1024, 0xFF000000u);
  Fill(page, 0, 0, 800, 600, Argb(255, 236, 230, 214));  // the paper between the panels
  for (const auto& [box, scene] : panels) {
    TestPicture q(uint32_t(box.w), uint32_t(box.h), 0xFF000000u);
    DrawScene(q, scene);
    for (int y = 0; y < box.h; ++y)
      for (int x = 0; x < box.w; ++x) page.At(uint32_t(box.x + x), uint32_t(box.y + y)) = q.At(uint32_t(x), uint32_t(y));
    for (int t = 0; t < 4; ++t) {  // a black frame round the panel
      Fill(page, box.x - t, box.y - t, box.w + 2 * t, 1, INK);
      Fill(page, box.x - t, box.y + box.h - 1 + t, box.w + 2 * t, 1, INK);
      Fill(page, box.x - t, box.y - t, 1, box.h + 2 * t, INK);
      Fill(page, box.x + box.w - 1 + t, box.y - t, 1, box.h + 2 * t, INK);
    }
  }
  Balloons(page, balloons);
  return page;
}

}  // namespace datagen::comic

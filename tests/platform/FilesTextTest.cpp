#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/Log.h"
#include "platform/Files.h"
#include "platform/Math.h"
#include "platform/Text.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

using testsupport::TempDir;

TEST(PathResolver, MatchesEveryComponentWithoutCaseAndTakesBackslashes) {
  TempDir dir;
  dir.Write("DataDEMO/Materials/Rock.PNG", "png");
  const std::string name = dir.Path() + "\\datademo\\MATERIALS\\rock.png";
  EXPECT_EQ(platform::ResolvePath(name), dir.Path() + "/DataDEMO/Materials/Rock.PNG");
  EXPECT_TRUE(platform::FileExists(name));
  EXPECT_FALSE(platform::FileExists(dir.Path() + "\\datademo\\MATERIALS\\missing.png"));
  // A folder is not a file.
  EXPECT_FALSE(platform::FileExists(dir.Path() + "\\datademo\\MATERIALS"));
  EXPECT_TRUE(platform::DirectoryExists(dir.Path() + "\\datademo\\MATERIALS"));
}

TEST(PathResolver, KeepsMissingComponentsAndStripsLeadingDot) {
  TempDir dir;
  dir.Write("Sub/a.txt", "x");
  EXPECT_EQ(platform::ResolvePath(dir.Path() + "/SUB/New File.dat"), dir.Path() + "/Sub/New File.dat");
  EXPECT_EQ(platform::ResolvePath(".\\nothing-here\\x.dat"), "nothing-here/x.dat");
  // A file made after the folder was listed is still found.
  EXPECT_FALSE(platform::FileExists(dir.Path() + "/sub/LATE.txt"));
  dir.Write("Sub/Late.txt", "y");
  EXPECT_TRUE(platform::FileExists(dir.Path() + "/sub/LATE.txt"));
  EXPECT_TRUE(platform::RemoveFile(dir.Path() + "/SUB/late.TXT"));
  EXPECT_FALSE(platform::FileExists(dir.Path() + "/sub/LATE.txt"));
  EXPECT_FALSE(platform::RemoveFile(dir.Path() + "/sub/LATE.txt"));
}

TEST(AtomicWrite, ReplacesWholeFileOrLeavesOldOne) {
  TempDir dir;
  const std::string path = dir.Write("Config.dat", "old contents");
  ASSERT_TRUE(platform::WriteFileAtomic(path, std::string("new")));
  EXPECT_EQ(testsupport::ReadFileBytes(path), "new");
  if (geteuid() != 0) {
    // A folder that cannot be written: the old file stays and false is reported.
    chmod(dir.Path().c_str(), 0555);
    EXPECT_FALSE(platform::WriteFileAtomic(path, std::string("lost")));
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(testsupport::ReadFileBytes(path), "new");
  }
  // A folder that does not exist fails cleanly.
  EXPECT_FALSE(platform::WriteFileAtomic(dir.Path() + "/no/such/dir/file.dat", std::string("x")));
}

TEST(AtomicWrite, StartUpRemovesOnlyTheTemporariesOfInterruptedWrites) {
  TempDir dir;
  for (const char* stale : {".Profile0.dat.tmp123456", ".ConfigLastUsed.dat.tmp7", ".a.tmp0"})
    dir.Write(stale, "half");
  const char* kept[] = {"Profile0.dat", "Profile0.dat.tmp12", ".Profile0.dat.tmp", ".Profile0.dat.tmp12x",
                        "..tmp5x", ".tmp123", "x.tmp4", ".Sub.tmp5/inner.dat", ".Sub.tmp5/.b.tmp6"};
  for (const char* name : kept) dir.Write(name, "keep");
  EXPECT_EQ(platform::RemoveAtomicWriteTemporaries(dir.Path() + "\\"), 3);
  for (const char* stale : {".Profile0.dat.tmp123456", ".ConfigLastUsed.dat.tmp7", ".a.tmp0"})
    EXPECT_FALSE(platform::FileExists(dir.Path() + "/" + stale)) << stale;
  for (const char* name : kept) EXPECT_TRUE(platform::FileExists(dir.Path() + "/" + name)) << name;
  EXPECT_EQ(platform::RemoveAtomicWriteTemporaries(dir.Path() + "/no such folder"), 0);
}

// The new name reaches the disk only with its folder: the folder is synced
// after the rename. Seen from outside, in the system calls of the write above.
TEST(AtomicWrite, TheFolderIsSyncedAfterTheRename) {
  if (std::system("strace -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  TempDir dir;
  const std::string trace = dir.File("calls.txt");
  const int status = testsupport::RunChildProcess(
      {"strace", "-e", "trace=openat,fsync,rename", "-o", trace, testsupport::SelfExecutable(),
       "--gtest_filter=AtomicWrite.ReplacesWholeFileOrLeavesOldOne"},
      testsupport::ChildTestEnvironment(), true);
  if (!testsupport::ExitedCleanly(status)) GTEST_SKIP() << "strace cannot trace here";
  std::istringstream lines(testsupport::ReadFileBytes(trace));
  std::string line, folderFd;
  bool renamed = false, synced = false;
  while (std::getline(lines, line) && !synced) {
    if (line.rfind("rename(", 0) == 0 && line.find("/Config.dat\") = 0") != std::string::npos) renamed = true;
    const size_t opened = line.find("O_DIRECTORY) = ");
    if (renamed && line.rfind("openat(", 0) == 0 && opened != std::string::npos)
      folderFd = line.substr(opened + 15);
    synced = renamed && !folderFd.empty() && line.rfind("fsync(" + folderFd + ")", 0) == 0 &&
             line.size() > 4 && line.compare(line.size() - 4, 4, " = 0") == 0;
  }
  EXPECT_TRUE(renamed);
  EXPECT_TRUE(synced) << "no fsync of the folder after the rename";
}

TEST(TextConversion, RoundTripsUtf8Utf16AndWide) {
  const std::wstring text = L"Ma\u00f1ana \u00e1 \u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600";
  EXPECT_EQ(platform::Utf8ToWide(platform::WideToUtf8(text)), text);
  std::vector<uint8_t> units = platform::WideToUtf16Le(text);
  EXPECT_EQ(platform::Utf16LeToWide(units.data(), units.size()), text);
  // The emoji needs a surrogate pair: one code point more than units/2 says.
  EXPECT_EQ(units.size() / 2, text.size() + 1);
  EXPECT_EQ(platform::WideToUtf8(L"\u00f1"), "\xC3\xB1");
  // Broken UTF-8 never loses bytes.
  EXPECT_EQ(platform::Utf8ToWide("a\xFF" "b"), std::wstring(L"a\u00ff" L"b"));
  EXPECT_EQ(platform::AsciiUpper("Ene3CompletoRojo.X\xC3\xB1"), "ENE3COMPLETOROJO.X\xC3\xB1");
}

TEST(MathHelpers, RowVectorConventionsAndInverse) {
  D3DXMATRIX rz, t, m;
  D3DXMatrixRotationZ(&rz, D3DX_PI / 2);
  D3DXMatrixTranslation(&t, 10, 0, 0);
  m = rz * t;  // rotate, then translate
  D3DXVECTOR3 p(1, 0, 0), out;
  D3DXVec3TransformCoord(&out, &p, &m);
  EXPECT_NEAR(out.x, 10, 1e-5);
  EXPECT_NEAR(out.y, 1, 1e-5);
  D3DXMATRIX inv;
  ASSERT_NE(D3DXMatrixInverse(&inv, nullptr, &m), nullptr);
  D3DXVECTOR3 back;
  D3DXVec3TransformCoord(&back, &out, &inv);
  EXPECT_NEAR(back.x, 1, 1e-5);
  EXPECT_NEAR(back.y, 0, 1e-5);
  D3DXMATRIX zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(D3DXMatrixInverse(&inv, nullptr, &zero), nullptr);

  // Right-handed look-at: the eye looks down -z in view space.
  D3DXVECTOR3 eye(0, -100, 0), at(0, 0, 0), up(0, 0, 1);
  D3DXMATRIX view;
  D3DXMatrixLookAtRH(&view, &eye, &at, &up);
  D3DXVec3TransformCoord(&out, &at, &view);
  EXPECT_NEAR(out.z, -100, 1e-4);
  // Perspective maps the near plane to depth 0 and the far plane to 1.
  D3DXMATRIX proj;
  D3DXMatrixPerspectiveFovRH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 1.0f, 1000.0f);
  D3DXVECTOR3 nearPoint(0, 0, -1), farPoint(0, 0, -1000);
  D3DXVec3TransformCoord(&out, &nearPoint, &proj);
  EXPECT_NEAR(out.z, 0, 1e-5);
  D3DXVec3TransformCoord(&out, &farPoint, &proj);
  EXPECT_NEAR(out.z, 1, 1e-5);

  // Quaternion and matrix agree.
  D3DXQUATERNION q;
  D3DXVECTOR3 axis(0, 0, 1);
  D3DXQuaternionRotationAxis(&q, &axis, D3DX_PI / 2);
  D3DXMATRIX qm;
  D3DXMatrixRotationQuaternion(&qm, &q);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(qm.m[i][j], rz.m[i][j], 1e-6);
    }
  D3DXVECTOR3 zeroVec(0, 0, 0);
  D3DXVec3Normalize(&out, &zeroVec);
  EXPECT_EQ(out, zeroVec);
}

TEST(MathHelpers, ColourPacking) {
  EXPECT_EQ(PackColor(1.5f, -0.2f, 0.5f, 1.0f), 0xFFFF0080u);
  EXPECT_EQ(ColorChannelToByte(0.999f), 255u);
  EXPECT_EQ(ColorChannelToByte(0.001f), 0u);
}

TEST(LogLines, AHugeLineIsCutWithItsLength) {
  testing::internal::CaptureStderr();
  platform::LogWarning("cannot open script '" + std::string(1 << 20, 'x') + "'");
  platform::LogError("short");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_LT(err.size(), 1200u);
  EXPECT_NE(err.find("... (1048597 bytes)\n"), std::string::npos);
  EXPECT_NE(err.find("[error] short\n"), std::string::npos);
}

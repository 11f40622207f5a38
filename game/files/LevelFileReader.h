#pragma once
// A little-endian reader over bytes already in memory, for the level's
// binary files. Every read is checked against the bytes left; the first
// short read, bad length or bad count makes the reader fail for good, so a
// parse can read a whole record and test once.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Math.h"

class CLevelFileReader {
 public:
  CLevelFileReader(const uint8_t* data, size_t size) : m_pData(data), m_Size(size) {}

  bool ReadInt(int32_t& value);
  bool ReadFloat(float& value);
  bool ReadVector(D3DXVECTOR3& value);
  // int32 n, then n + 1 bytes holding a zero byte; the value is the bytes up
  // to the first zero. Fails when n is negative, n + 1 is above
  // LEVEL_FILE_MAX_STRING, the bytes are not there or hold no zero.
  bool ReadString(std::string& value);
  // A record count: fails above LEVEL_FILE_MAX_RECORDS. Values of 0 or less
  // are returned as read; the caller decides what they mean.
  bool ReadCount(int32_t& count);
  // Whether a count read so far was negative (see NoteNegativeCount).
  bool SawNegativeCount() const { return m_NegativeCount; }
  // A count read with ReadInt that is negative: with bytes left over at the
  // end it marks the file as damaged rather than padded.
  void NoteNegativeCount() { m_NegativeCount = true; }
  // Fails unless at least count records of minBytes each can still follow:
  // the check made before any storage is set aside for them.
  bool Expect(int32_t count, size_t minBytes);

  // Marks the read as failed (a value the format does not allow).
  void Fail() { m_Failed = true; }
  bool Failed() const { return m_Failed; }
  size_t Offset() const { return m_Offset; }
  size_t Remaining() const { return m_Size - m_Offset; }
  // True when nothing failed and every byte was used.
  bool Finished() const { return !m_Failed && m_Offset == m_Size; }

 private:
  bool Take(void* out, size_t bytes);

  const uint8_t* m_pData;
  size_t m_Size;
  size_t m_Offset = 0;
  bool m_Failed = false;
  bool m_NegativeCount = false;
};

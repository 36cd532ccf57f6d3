// The memory stream: reads from a copy of the bytes it was made over, seeks
// from each origin, grows on writes past its end, and reports its size.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ole.h"

namespace {

ComPtr<IStream> Over(std::vector<BYTE> bytes) {
  return ComPtr<IStream>::Adopt(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
}

LARGE_INTEGER Offset(LONGLONG value) {
  LARGE_INTEGER offset{};
  offset.QuadPart = value;
  return offset;
}

TEST(MemoryStream, ReadsACopyOfItsBytesAndStopsAtTheEnd) {
  std::vector<BYTE> source{1, 2, 3};
  auto stream = ComPtr<IStream>::Adopt(SHCreateMemStream(source.data(), 3));
  ASSERT_TRUE(stream);
  source[0] = 9;  // the stream has its own copy
  BYTE buffer[8] = {};
  ULONG read = 0;
  EXPECT_EQ(stream->Read(buffer, 2, &read), S_OK);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(buffer[0], 1);
  // Asking for more than is left reads what is left.
  EXPECT_EQ(stream->Read(buffer, 8, &read), S_FALSE);
  EXPECT_EQ(read, 1u);
  EXPECT_EQ(buffer[0], 3);
  EXPECT_EQ(stream->Read(buffer, 8, &read), S_FALSE);
  EXPECT_EQ(read, 0u);
}

TEST(MemoryStream, SeeksFromEachOrigin) {
  auto stream = Over({10, 11, 12, 13});
  const struct {
    LONGLONG move;
    DWORD origin;
    HRESULT result;
    ULONGLONG position;
  } cases[] = {{1, STREAM_SEEK_SET, S_OK, 1},    {2, STREAM_SEEK_CUR, S_OK, 3},
               {-1, STREAM_SEEK_END, S_OK, 3},   {-5, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 3},
               {0, 7, STG_E_INVALIDFUNCTION, 3}, {6, STREAM_SEEK_SET, S_OK, 6}};
  for (const auto& c : cases) {
    EXPECT_EQ(stream->Seek(Offset(c.move), c.origin, nullptr), c.result) << c.move;
    ULARGE_INTEGER position{};
    stream->Seek(Offset(0), STREAM_SEEK_CUR, &position);
    EXPECT_EQ(position.QuadPart, c.position) << c.move;
  }
}

TEST(MemoryStream, GrowsOnWritesAndReportsItsSize) {
  auto stream = ComPtr<IStream>::Adopt(SHCreateMemStream(nullptr, 0));
  ASSERT_TRUE(stream);
  const BYTE bytes[] = {5, 6};
  ULONG written = 0;
  ASSERT_EQ(stream->Seek(Offset(2), STREAM_SEEK_SET, nullptr), S_OK);
  EXPECT_EQ(stream->Write(bytes, 2, &written), S_OK);
  EXPECT_EQ(written, 2u);
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.type, STGTY_STREAM);
  EXPECT_EQ(stat.cbSize.QuadPart, 4u);
  // The gap a write past the end leaves reads as zeros (a guess: the
  // documentation does not say what the gap holds).
  BYTE buffer[4] = {9, 9, 9, 9};
  stream->Seek(Offset(0), STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 4), (std::vector<BYTE>{0, 0, 5, 6}));
  ComPtr<ISequentialStream> sequential = QueryInterfaceOf<ISequentialStream>(stream.Get());
  EXPECT_TRUE(sequential);
}

}  // namespace

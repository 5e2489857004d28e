// The trace reader: lines into calls and frames, typed arguments, enums.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/gltrace/gltrace_format.h"
#include "tests/gltrace/gltrace_reader.h"

namespace {

using kovrin::test::gltrace::Call;
using kovrin::test::gltrace::ParseTrace;

TEST(GltraceReader, SplitsNameArgumentsAndResults) {
  const kovrin::test::gltrace::Trace trace = ParseTrace("glGenTextures 2 = 5 6\nglBindTexture GL_TEXTURE_2D 5\n");
  ASSERT_EQ(trace.tail.size(), 2u);
  const Call& gen = trace.tail[0];
  EXPECT_EQ(gen.name, "glGenTextures");
  EXPECT_EQ(gen.args, (std::vector<std::string>{"2"}));
  EXPECT_EQ(gen.Result(0), 5u);
  EXPECT_EQ(gen.Result(1), 6u);
  EXPECT_EQ(gen.line, 1);
  EXPECT_EQ(trace.tail[1].Enum(0), 0x0DE1u);
  EXPECT_EQ(trace.tail[1].Int(1), 5);
  EXPECT_EQ(trace.tail[1].line, 2);
}

TEST(GltraceReader, SwapLinesEndFrames) {
  const kovrin::test::gltrace::Trace trace = ParseTrace(
      "# kovrin-gltrace 1\n"
      "glEnable GL_TEXTURE_2D\nglClear GL_COLOR_BUFFER_BIT\nSWAP 1\n"
      "glClear GL_COLOR_BUFFER_BIT\nSWAP 2\n"
      "glFinish\n");
  ASSERT_EQ(trace.frames.size(), 2u);
  EXPECT_EQ(kovrin::test::gltrace::Names(trace.frames[0]), (std::vector<std::string>{"glEnable", "glClear"}));
  EXPECT_EQ(kovrin::test::gltrace::Names(trace.frames[1]), (std::vector<std::string>{"glClear"}));
  EXPECT_EQ(kovrin::test::gltrace::Names(trace.tail), (std::vector<std::string>{"glFinish"}));
  EXPECT_EQ(kovrin::test::gltrace::Names(trace.AllCalls()),
            (std::vector<std::string>{"glEnable", "glClear", "glClear", "glFinish"}));
}

TEST(GltraceReader, SkipsCommentsBlankLinesAndCarriageReturns) {
  const kovrin::test::gltrace::Trace trace = ParseTrace("# a comment\r\n\r\nglLoadIdentity\r\nglTranslatef 1 2 3\r\n");
  ASSERT_EQ(trace.tail.size(), 2u);
  EXPECT_EQ(trace.tail[0].Text(), "glLoadIdentity");
  EXPECT_EQ(trace.tail[1].Float(2), 3.0f);
}

TEST(GltraceReader, FloatsWrittenWithNineDigitsComeBackExactly) {
  const kovrin::test::gltrace::Trace trace = ParseTrace("glTranslatef 1.20000005 -3.0999999 0.100000001\n");
  ASSERT_EQ(trace.tail.size(), 1u);
  EXPECT_EQ(trace.tail[0].Float(0), 1.2f);
  EXPECT_EQ(trace.tail[0].Float(1), -3.1f);
  EXPECT_EQ(trace.tail[0].Float(2), 0.1f);
}

struct EnumCase {
  const char* word;
  uint32_t value;
};

TEST(GltraceReader, EnumWords) {
  const EnumCase cases[] = {
      {"GL_TEXTURE_2D", 0x0DE1},
      {"GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT", 0x4100},
      {"GL_QUADS", 7},
      {"GL_ONE", 1},
      {"GL_ZERO", 0},
      {"0x8051", 0x8051},
      {"0x1234", 0x1234},
      {"7", 7},
      {"GL_DEPTH_BUFFER_BIT|0x8000", 0x8100},
  };
  for (const EnumCase& c : cases) {
    const std::optional<uint32_t> value = kovrin::test::gltrace::ParseEnum(c.word);
    ASSERT_TRUE(value.has_value()) << "word " << c.word;
    EXPECT_EQ(*value, c.value) << "word " << c.word;
  }
  for (const char* bad : {"", "GL_NOT_A_NAME", "0xZZ", "GL_BLEND|", "-1"}) {
    EXPECT_FALSE(kovrin::test::gltrace::ParseEnum(bad).has_value()) << "word \"" << bad << "\"";
  }
}

TEST(GltraceReader, EveryNamedEnumReadsBackToItsValue) {
  for (const auto& table : {std::span<const kovrin::test::gltrace::EnumName>(kovrin::test::gltrace::kGeneralEnums),
                            std::span<const kovrin::test::gltrace::EnumName>(kovrin::test::gltrace::kPrimitiveEnums),
                            std::span<const kovrin::test::gltrace::EnumName>(kovrin::test::gltrace::kBlendFactorEnums),
                            std::span<const kovrin::test::gltrace::EnumName>(kovrin::test::gltrace::kClearBits)}) {
    for (const kovrin::test::gltrace::EnumName& e : table) {
      EXPECT_EQ(kovrin::test::gltrace::FindEnumValue(e.name), std::optional<uint32_t>(e.value)) << e.name;
    }
  }
}

TEST(GltraceReader, WrongKindOfArgumentThrowsNamingTheCall) {
  const kovrin::test::gltrace::Trace trace = ParseTrace("glBindTexture GL_TEXTURE_2D 3\n");
  const Call& call = trace.tail.at(0);
  try {
    (void)call.Float(0);
    FAIL() << "reading GL_TEXTURE_2D as a float did not throw";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("glBindTexture GL_TEXTURE_2D 3"), std::string::npos) << e.what();
  }
  EXPECT_THROW((void)call.Int(2), std::runtime_error);
  EXPECT_THROW((void)call.Result(0), std::runtime_error);
  EXPECT_THROW((void)call.Int(0), std::runtime_error);
}

TEST(GltraceReader, CallSelections) {
  const kovrin::test::gltrace::Trace trace =
      ParseTrace("glClear 0\nglBindTexture GL_TEXTURE_2D 1\nglClear 0\nglBindTexture GL_TEXTURE_2D 2\nglCallList 2\n");
  const std::vector<Call> calls = trace.AllCalls();
  const std::vector<Call> binds = kovrin::test::gltrace::CallsNamed(calls, "glBindTexture");
  ASSERT_EQ(binds.size(), 2u);
  EXPECT_EQ(binds[1].Int(1), 2);
  const std::vector<Call> lastFrame = kovrin::test::gltrace::FromLast(calls, "glClear");
  EXPECT_EQ(kovrin::test::gltrace::Names(lastFrame),
            (std::vector<std::string>{"glClear", "glBindTexture", "glCallList"}));
  EXPECT_EQ(lastFrame.front().line, 3);
  EXPECT_TRUE(kovrin::test::gltrace::FromLast(calls, "glBegin").empty());
  EXPECT_EQ(kovrin::test::gltrace::Names(calls, {"glCallList", "glClear"}),
            (std::vector<std::string>{"glClear", "glClear", "glCallList"}));
}

TEST(GltraceReader, MissingFileIsNoTrace) {
  EXPECT_FALSE(kovrin::test::gltrace::ReadTraceFile("/nonexistent/kovrin/trace.txt").has_value());
}

TEST(GltracePixelDigest, IsFnv1aOfTheBytes) {
  // Reference values of 32-bit FNV-1a.
  EXPECT_EQ(kovrin::test::gltrace::DigestOf({}), 0x811C9DC5u);
  const uint8_t a[] = {'a'};
  EXPECT_EQ(kovrin::test::gltrace::DigestOf(a), 0xE40C292Cu);
  const uint8_t foobar[] = {'f', 'o', 'o', 'b', 'a', 'r'};
  EXPECT_EQ(kovrin::test::gltrace::DigestOf(foobar), 0xBF9CF968u);
}

}  // namespace

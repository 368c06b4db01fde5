#include "service/EDAMTypes.h"
#include "service/TApplicationException.h"
#include "service/TBinaryProtocol.h"
#include "tests/service/AllocationProbe.h"
#include "tests/service/WireBytes.h"

#include <thrift/protocol/TProtocolException.h>
#include <thrift/transport/TBufferTransports.h>

#include <gtest/gtest.h>

using apache::thrift::transport::TMemoryBuffer;

namespace {

template <typename Struct>
QByteArray encode(const Struct &value)
{
    auto buffer = std::make_shared<TMemoryBuffer>();
    TBinaryProtocol protocol(buffer);
    value.write(&protocol);
    return QByteArray::fromStdString(buffer->getBufferAsString());
}

// Reads a struct and checks that it took every byte.
template <typename Struct>
Struct decode(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    auto buffer = std::make_shared<TMemoryBuffer>(reinterpret_cast<uint8_t *>(copy.data()), uint32_t(copy.size()));
    TBinaryProtocol protocol(buffer);
    Struct value;
    value.read(&protocol);
    EXPECT_EQ(buffer->available_read(), 0u) << "the reader stopped short of the stop byte";
    return value;
}

} // namespace

TEST(EDAMTypesTest, NoteWritesExactlyItsSetFields)
{
    EDAMNote note;
    note.__set_title("Buy milk");
    note.__set_created(1700000000123);
    note.__set_notebookGuid("nb-1");
    const QByteArray threeFields = WireBytes().field(WireBytes::String, 2).string("Buy milk").field(WireBytes::I64, 6)
                                       .i64(1700000000123).field(WireBytes::String, 11).string("nb-1").stop();
    EXPECT_EQ(encode(note).toHex(), threeFields.toHex());

    // Content that was set and then withdrawn does not travel; an empty content does.
    note.__set_content("<en-note/>");
    note.__isset.content = false;
    EXPECT_EQ(encode(note).toHex(), threeFields.toHex());
    note.__set_content("");
    EXPECT_TRUE(encode(note).contains(WireBytes().field(WireBytes::String, 3).string("").bytes()));

    EDAMNote tagged;
    tagged.__set_tagNames({"home", "work"});
    EXPECT_EQ(encode(tagged).toHex(),
              WireBytes().field(WireBytes::List, 15).list(WireBytes::String, 2).string("home").string("work").stop().bytes().toHex());
}

TEST(EDAMTypesTest, ReaderSkipsMistypedAndUnknownFields)
{
    // A mistyped guid, an unknown nested struct with a list and a map, an unknown double.
    const EDAMNote note = decode<EDAMNote>(WireBytes().field(WireBytes::I32, 1).i32(7).field(WireBytes::Struct, 99)
        .field(WireBytes::List, 1).list(WireBytes::String, 2).string("x").string("y")
        .field(WireBytes::Map, 2).i8(WireBytes::I32).i8(WireBytes::Double).i32(1).i32(5).i64(0).stop()
        .field(WireBytes::Double, 40).i64(0).field(WireBytes::String, 2).string("Title")
        .field(WireBytes::List, 12).list(WireBytes::String, 1).string("tag-1").field(WireBytes::Bool, 9).i8(1).stop());
    EXPECT_FALSE(note.__isset.guid);
    EXPECT_EQ(note.title, "Title");
    EXPECT_EQ(note.tagGuids, std::vector<std::string>{"tag-1"});
    EXPECT_TRUE(note.__isset.active && note.active);

    // A string that is not UTF-8 reads as an empty one; binary data is kept as it came.
    const EDAMNote odd = decode<EDAMNote>(WireBytes().field(WireBytes::String, 2).string("\xc3\x28 bad").field(WireBytes::String, 11)
                                              .string("caf\xc3\xa9").field(WireBytes::String, 4).string("\xc3\x28").stop());
    EXPECT_TRUE(odd.__isset.title && odd.title.empty());
    EXPECT_EQ(odd.notebookGuid, "caf\xc3\xa9");
    EXPECT_EQ(odd.contentHash, "\xc3\x28");
}

TEST(EDAMTypesTest, LengthsBeyondTheReplyFailBeforeAllocating)
{
    const QByteArray tail(16, 'x'); // a few bytes really there
    const struct { const char *what; QByteArray bytes; } hostile[] = {
        {"string", WireBytes().field(WireBytes::String, 2).i32(0x7ffffff0).raw(tail)},
        {"negative string", WireBytes().field(WireBytes::String, 2).i32(-1).raw(tail)},
        // 2^28 eight-byte elements: Thrift's own check overflows 32 bits here and lets it by.
        {"list of i64", WireBytes().field(WireBytes::List, 99).list(WireBytes::I64, 0x10000000).raw(tail)},
        {"negative list", WireBytes().field(WireBytes::List, 13).list(WireBytes::Struct, -1).raw(tail)},
        // As many elements as there are bytes, but eight bytes each.
        {"skipped list of i64", WireBytes().field(WireBytes::List, 99).list(WireBytes::I64, 12).raw(tail)},
        {"skipped binary", WireBytes().field(WireBytes::String, 98).i32(0x40000000).raw(tail)},
        {"map", WireBytes().field(WireBytes::Map, 97).i8(WireBytes::String).i8(WireBytes::String).i32(0x20000000).raw(tail)},
    };
    for (const auto &reply : hostile) {
        AllocationProbe probe;
        EXPECT_THROW(decode<EDAMNote>(reply.bytes), apache::thrift::protocol::TProtocolException) << reply.what;
        EXPECT_LT(AllocationProbe::largest(), size_t(1) << 20) << reply.what;
    }
}

// Running out of memory for one value fails the reply, not the program.
TEST(EDAMTypesTest, AStringOrBinaryMemoryCannotHoldIsAProtocolError)
{
    const QByteArray big(300000, 'x');
    for (int16_t field : {2, 4}) { // a string, then binary data
        AllocationProbe probe(100000);
        EXPECT_THROW(decode<EDAMNote>(WireBytes().field(WireBytes::String, field).string(big).stop()),
                     apache::thrift::protocol::TProtocolException) << field;
    }
}

// A type the service may add later is named, not read out of the table's end.
TEST(EDAMTypesTest, AnUnknownApplicationExceptionTypeIsNamedUnknown)
{
    EXPECT_EQ(TApplicationException(7, {}).name(), QStringLiteral("Unknown"));
}

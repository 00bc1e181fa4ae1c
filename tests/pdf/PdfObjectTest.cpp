#include "pdf/PdfObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::ParseObject;

TEST(PdfObject, ConversionsFollowTheCLibraryRules) {
    EXPECT_EQ(ParseInteger("-3.7"), -3);
    EXPECT_EQ(ParseInteger(".5"), 0);
    EXPECT_EQ(ParseInteger("  +42x"), 42);
    EXPECT_EQ(ParseInteger("4294967292"), -4);  // wraps modulo 2^32
    EXPECT_EQ(ParseInteger("99999999999"), static_cast<std::int32_t>(99999999999 % 4294967296));
    EXPECT_DOUBLE_EQ(ParseReal("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseReal("+-1"), 0.0);
    EXPECT_DOUBLE_EQ(ParseReal("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ParseReal("."), 0.0);
    EXPECT_EQ(GetIntegerValue(ParseObject("3.9").get()), 3);
    EXPECT_DOUBLE_EQ(GetRealValue(ParseObject("3.9").get()), 3.9);
    EXPECT_EQ(GetIntegerValue(ParseObject("true").get()), 0);
    EXPECT_EQ(GetIntegerValue(ParseObject("(12)").get()), 0);  // a string of digits is no number
    EXPECT_EQ(GetStringValue(ParseObject("true").get()), "true");
    EXPECT_EQ(GetStringValue(ParseObject("/Type").get()), "/Type");
    EXPECT_EQ(GetStringValue(ParseObject("+5").get()), "+5");
    EXPECT_EQ(GetStringValue(ParseObject("[1]").get()), "");
    EXPECT_EQ(GetStringValue(nullptr), "");
    EXPECT_EQ(GetIntegerValue(nullptr), 0);
}

TEST(PdfObject, DecimalsReadExactlyAsTheCLibraryReadsThem) {
    // Plain decimals take a shortcut past from_chars: it must round the same.
    std::mt19937 random(16);
    for (int n = 0; n < 100000; ++n) {
        std::string text;
        for (std::uint32_t k = 0, length = 1 + random() % 17; k < length; ++k)
            text += static_cast<char>('0' + random() % 10);
        if (random() % 4 != 0)
            text.insert(random() % (text.size() + 1), ".");
        ASSERT_EQ(ParseReal(text), std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(PdfObject, AccessorsAnswerAbsentForMissingOrOutOfRange) {
    ObjectHandle array = ParseObject("[ 1 /Two (three) ]");
    EXPECT_EQ(AsArray(array.get())->GetElement(3), nullptr);
    EXPECT_EQ(AsArray(array.get())->GetElement(static_cast<std::size_t>(-1)), nullptr);
    EXPECT_EQ(AsArray(ParseObject("[]").get())->GetElement(0), nullptr);
    ObjectHandle dict = ParseObject("<< /A 1 >>");
    EXPECT_EQ(DictionaryOrEmpty(dict.get()).GetValueString("/Missing"), "");
    EXPECT_EQ(DictionaryOrEmpty(dict.get()).GetValue("/Missing"), nullptr);
    EXPECT_EQ(DictionaryOrEmpty(nullptr).GetValueInteger("/A"), 0);
    EXPECT_EQ(DictionaryOrEmpty(array.get()).GetValue("/A"), nullptr);
    ObjectHandle empty = ParseObject("<< >>");
    EXPECT_TRUE(
        DictionaryOrEmpty(empty.get()).AtEnd(DictionaryOrEmpty(empty.get()).GetStartPosition()));
}

// Counts destructions, to check the ownership rule.
struct CountedNull final : PdfObject {
    explicit CountedNull(int& counter) : PdfObject(PdfObjectType::Null), destroyed(counter) {}
    ~CountedNull() override { ++destroyed; }
    int& destroyed;
};

TEST(PdfObject, OwnershipRule) {
    int destroyed = 0;
    auto dict = std::make_unique<PdfDictionary>();
    dict->SetValue("/K", MakeObject<CountedNull>(destroyed));
    dict->SetValue("/K", MakeObject<PdfNumber>("1"));  // releases the old value exactly once
    EXPECT_EQ(destroyed, 1);
    // A copy is deep: changing or releasing it leaves the original alone.
    ObjectHandle copy = CloneObject(dict.get());
    static_cast<PdfDictionary*>(copy.get())->SetValue("/K", MakeObject<PdfNumber>("2"));
    copy.reset();
    EXPECT_EQ(dict->GetValueInteger("/K"), 1);
    // Releasing a shared (indirect) object does nothing; a copy of it is itself.
    auto shared = std::make_unique<CountedNull>(destroyed);
    shared->objectNumber = 7;
    ReleaseObject(shared.get());
    ReleaseObject(shared.get());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(CloneObject(shared.get()).get(), shared.get());
    ReleaseObject(nullptr);
    EXPECT_EQ(CloneObject(MakeObject<PdfEndOfData>().get()), nullptr);
}

TEST(PdfObject, ReferencesResolveThroughTheStore) {
    // 2 is a number, 3 refers to 2, 4 to itself, 5 and 6 to each other.
    test::TestDocument doc;
    ASSERT_TRUE(doc.Open(test::PdfBuilder({"<< /Len 2 0 R /Chain 3 0 R /Self 4 0 R /Loop 5 0 R "
                                           "/Gone 99 0 R >>",
                                           "12", "2 0 R", "4 0 R", "6 0 R", "5 0 R"},
                                          "/Root 1 0 R")
                             .Build()));
    ObjectHandle catalog = doc.Store().GetCatalog();
    const PdfDictionary& root = DictionaryOrEmpty(catalog.get());
    EXPECT_EQ(root.GetValueInteger("/Len"), 12);
    EXPECT_EQ(root.GetValueString("/Chain"), "12");  // follows a chain of references
    EXPECT_EQ(root.GetValueInteger("/Self"), 0);     // a chain back to itself ends with 0
    EXPECT_EQ(root.GetValueString("/Loop"), "");
    EXPECT_DOUBLE_EQ(root.GetValueReal("/Loop"), 0.0);
    EXPECT_EQ(root.GetValue("/Gone"), nullptr);
    // GetValue follows exactly one reference: the target of 3 0 R is a reference.
    EXPECT_TRUE(IsKind(root.GetValue("/Chain").get(), PdfObjectType::Reference));
    // The same indirect object is handed out every time.
    EXPECT_EQ(doc.Store().GetObject(2, 0).get(), doc.Store().GetObject(2, 0).get());
    EXPECT_EQ(doc.Store().GetObject(2, 0)->objectNumber, 2);
    EXPECT_EQ(doc.Store().GetObject(2, 1), nullptr);
    EXPECT_EQ(doc.Store().GetObject(-1, 0), nullptr);
}

}  // namespace
}  // namespace tessary

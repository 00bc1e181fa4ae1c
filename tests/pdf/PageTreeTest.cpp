#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "pdf/Limits.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

// The page walk as the tree defines it, kid by kid from the root on every
// call, with the depth limit and cycle guard of the real walk.
ObjectHandle ReferenceFindPage(const PdfObject* node, std::int64_t i,
                               std::vector<const PdfObject*> path) {
    ObjectHandle kids = DictionaryOrEmpty(node).GetValue("/Kids");
    const PdfArray* array = AsArray(kids.get());
    if (!array || path.size() > kMaxPageTreeDepth ||
        std::find(path.begin(), path.end(), node) != path.end()) {
        return nullptr;
    }
    path.push_back(node);
    for (std::size_t k = 0; k < array->GetCount(); ++k) {
        ObjectHandle kid = array->GetElement(k);
        const PdfDictionary& d = DictionaryOrEmpty(kid.get());
        const bool page = d.GetValueString("/Type") == "/Page";
        if (page ? i == 0 : i < d.GetValueInteger("/Count"))
            return page ? std::move(kid) : ReferenceFindPage(kid.get(), i, path);
        i -= page ? 1 : d.GetValueInteger("/Count");
    }
    return nullptr;
}

class PageTreeTest : public ::testing::Test, public test::TestDocument {
  protected:
    void OpenTree(const std::vector<std::string>& objects,
                  const std::string& trailer = "/Root 1 0 R") {
        EXPECT_TRUE(Open(test::PdfBuilder(objects, trailer).Build()));
    }
    // The /Name of page index i, or "-" when there is none.
    std::string NameOf(std::int32_t index) {
        ObjectHandle page = Store().GetPage(index);
        return page ? DictionaryOrEmpty(page.get()).GetValueString("/Name") : "-";
    }
};

TEST_F(PageTreeTest, WalksByCount) {
    // 3 has a short /Count that hides a page; 4 is a leaf without /Type (a
    // node of count 0); a page written directly in /Kids counts; 99 is missing.
    OpenTree({"<< /Type /Catalog /Pages 2 0 R >>",
              "<< /Kids [3 0 R 4 0 R 5 0 R << /Type /Page /Name /direct >> 9 0 R 99 0 R] >>",
              "<< /Type /Pages /Kids [6 0 R 7 0 R 8 0 R] /Count 2 >>", "<< /Name /noType >>",
              "<< /Type /Page /Name /after >>", "<< /Type /Page /Name /a >>",
              "<< /Type /Page /Name /b >>", "<< /Type /Page /Name /hidden >>",
              "<< /Type /Page /Name /last >>"});
    std::string names;
    for (int i = -1; i <= 5; ++i)
        names += NameOf(i) + " ";
    EXPECT_EQ(names, "- /a /b /after /direct /last - ");
    EXPECT_EQ(Store().GetPage(2).get(), Store().GetPage(2).get());
}

TEST_F(PageTreeTest, MissingRootOrPages) {
    OpenTree({"<< /Type /Catalog >>", "<< /Type /Page >>"});
    EXPECT_EQ(Store().GetPage(0), nullptr);
    EXPECT_EQ(Store().GetPageIndexLimit(), 0);
    OpenTree({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
              "<< /Type /Page >>"},
             "");
    EXPECT_EQ(Store().GetCatalog(), nullptr);
    EXPECT_EQ(Store().GetPage(0), nullptr);
}

TEST_F(PageTreeTest, CyclesAndDepthEndTheWalk) {
    // 3 lists itself among its kids; its /Count claims pages it doesn't have.
    OpenTree({"<< /Type /Catalog /Pages 2 0 R >>",
              "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 10 >>",
              "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 5 >>", "<< /Type /Page /Name /p >>"});
    EXPECT_EQ(NameOf(0) + NameOf(4) + NameOf(5) + NameOf(6), "--/p-");
    // A chain of nodes deeper than the limit.
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
    for (int n = 2; n < kMaxPageTreeDepth + 12; ++n)
        objects.push_back("<< /Type /Pages /Kids [" + std::to_string(n + 1) + " 0 R] /Count 1 >>");
    objects.push_back("<< /Type /Page /Name /deep >>");
    OpenTree(objects);
    EXPECT_EQ(NameOf(0), "-");
}

TEST_F(PageTreeTest, LargeFlatTreeInOrder) {
    const int pages = 100000;
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    for (int k = 0; k < pages; ++k) {
        objects[1] += std::to_string(3 + k) + " 0 R ";
        objects.push_back("<< /Type /Page >>");
    }
    objects[1] =
        "<< /Type /Pages /Kids [" + objects[1] + "] /Count " + std::to_string(pages) + " >>";
    OpenTree(objects);
    for (int k = 0; k < pages; ++k) {
        ObjectHandle page = Store().GetPage(k);
        ASSERT_EQ(page ? page->objectNumber : -1, 3 + k);
    }
    EXPECT_EQ(Store().GetPage(pages), nullptr);
    EXPECT_EQ(Store().GetPageIndexLimit(), pages);
}

TEST_F(PageTreeTest, IndexLimitEndsCountsBeyondThePages) {
    OpenTree({"<< /Type /Catalog /Pages 2 0 R >>",
              "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 2147483647 >>",
              "<< /Type /Pages /Kids [4 0 R] /Count 1000000 >>", "<< /Type /Page /Name /a >>",
              "<< /Type /Page /Name /b >>"});
    EXPECT_EQ(NameOf(0), "/a");
    EXPECT_EQ(NameOf(1000000), "/b");
    EXPECT_EQ(Store().GetPageIndexLimit(), 1000001);
}

// Random trees with wrong, zero and negative counts, leaves without /Type and
// shared subtrees: every index gives what the kid-by-kid walk gives.
TEST_F(PageTreeTest, AgreesWithTheKidByKidWalk) {
    std::mt19937 random(1234);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 60; ++round) {
        const int nodes = 2 + pick(25);
        std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
        for (int n = 2; n < nodes + 2; ++n) {
            const int kind = pick(10);
            std::string body = kind < 4 && n > 2 ? "/Type /Page" : kind == 4 ? "" : "/Type /Pages";
            if (body != "/Type /Page") {
                body += " /Count " + std::to_string(pick(9) - 2) + " /Kids [";
                for (int k = pick(6); k > 0; --k)
                    body += " " + std::to_string(2 + pick(nodes)) + " 0 R";
                body += " ]";
            }
            objects.push_back("<< " + body + " >>");
        }
        OpenTree(objects);
        ObjectHandle catalog = Store().GetCatalog();
        ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
        const std::int64_t limit = Store().GetPageIndexLimit();
        for (std::int32_t i = -3; i < 40; ++i) {
            ObjectHandle expected = ReferenceFindPage(root.get(), i, {});
            ASSERT_EQ(Store().GetPage(i).get(), expected.get())
                << "round " << round << " index " << i;
            ASSERT_TRUE(i < limit || !expected) << "round " << round << " index " << i;
        }
    }
}

}  // namespace
}  // namespace tessary

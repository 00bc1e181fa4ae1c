#include <gtest/gtest.h>

#include <random>

#include "pdf/Limits.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::PdfBuilder;

// The page walk as the tree defines it, kid by kid from the root on every
// call, with the depth limit and cycle guard of the real walk.
ObjectHandle ReferenceFindPage(const PdfObject* node, std::int64_t& i, int depth,
                               std::vector<const PdfObject*>& path) {
    if (depth > kMaxPageTreeDepth || std::find(path.begin(), path.end(), node) != path.end()) {
        return nullptr;
    }
    ObjectHandle kids = DictionaryOrEmpty(node).GetValue("/Kids");
    const PdfArray* array = AsArray(kids.get());
    if (!array)
        return nullptr;
    path.push_back(node);
    ObjectHandle result;
    for (std::size_t k = 0; k < array->GetCount(); ++k) {
        ObjectHandle kid = array->GetElement(k);
        const PdfDictionary& d = DictionaryOrEmpty(kid.get());
        if (d.GetValueString("/Type") == "/Page") {
            if (i == 0) {
                result = std::move(kid);
                break;
            }
            --i;
        } else {
            std::int64_t c = d.GetValueInteger("/Count");
            if (i < c) {
                result = ReferenceFindPage(kid.get(), i, depth + 1, path);
                break;
            }
            i -= c;
        }
    }
    path.pop_back();
    return result;
}

class PageTreeTest : public ::testing::Test {
  protected:
    PdfObjectStore& Open(const std::vector<std::string>& objects,
                         const std::string& trailer = "/Root 1 0 R") {
        document = std::make_unique<PdfDocument>();
        EXPECT_TRUE(document->Open(dir.Write("tree.pdf", PdfBuilder(objects, trailer).Build()),
                                   false, nullptr, nullptr));
        return *document->GetStore();
    }
    // The /Name entry of page index i, or "-" when there is none.
    std::string NameOf(std::int32_t index) {
        ObjectHandle page = document->GetStore()->GetPage(index);
        return page ? DictionaryOrEmpty(page.get()).GetValueString("/Name") : "-";
    }

    test::TempDir dir;
    std::unique_ptr<PdfDocument> document;
};

TEST_F(PageTreeTest, WalksByCount) {
    // Root with two subtrees of 3 and 2 pages.
    Open({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 5 >>",
          "<< /Type /Pages /Kids [5 0 R 6 0 R 7 0 R] /Count 3 >>",
          "<< /Type /Pages /Kids [8 0 R 9 0 R] /Count 2 >>", "<< /Type /Page /Name /p0 >>",
          "<< /Type /Page /Name /p1 >>", "<< /Type /Page /Name /p2 >>",
          "<< /Type /Page /Name /p3 >>", "<< /Type /Page /Name /p4 >>"});
    EXPECT_EQ(NameOf(0), "/p0");
    EXPECT_EQ(NameOf(3), "/p3");
    EXPECT_EQ(NameOf(4), "/p4");
    EXPECT_EQ(NameOf(5), "-");
    EXPECT_EQ(NameOf(-1), "-");
    EXPECT_EQ(document->GetStore()->GetPage(2).get(), document->GetStore()->GetPage(2).get());
}

TEST_F(PageTreeTest, OddNodes) {
    // A leaf without /Type is a node with /Count 0; a short /Count hides pages;
    // a page written directly in /Kids is found too.
    Open({"<< /Type /Catalog /Pages 2 0 R >>",
          "<< /Kids [4 0 R 3 0 R 5 0 R << /Type /Page /Name /direct >> 9 0 R 99 0 R] >>",
          "<< /Type /Pages /Kids [6 0 R 7 0 R] /Count 1 >>", "<< /Name /noType >>",
          "<< /Type /Page /Name /after >>", "<< /Type /Page /Name /a >>",
          "<< /Type /Page /Name /hidden >>", "", "<< /Type /Page /Name /last >>"});
    EXPECT_EQ(NameOf(0), "/a");
    EXPECT_EQ(NameOf(1), "/after");
    EXPECT_EQ(NameOf(2), "/direct");
    EXPECT_EQ(NameOf(3), "/last");
    EXPECT_EQ(NameOf(4), "-");
}

TEST_F(PageTreeTest, MissingRootOrPages) {
    Open({"<< /Type /Catalog >>", "<< /Type /Page >>"});
    EXPECT_EQ(document->GetStore()->GetPage(0), nullptr);
    Open({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
          "<< /Type /Page >>"},
         "");
    EXPECT_EQ(document->GetStore()->GetCatalog(), nullptr);
    EXPECT_EQ(document->GetStore()->GetPage(0), nullptr);
}

TEST_F(PageTreeTest, CyclesAndDepthEndTheWalk) {
    // 3 lists itself among its kids; its /Count claims pages it doesn't have.
    Open({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 10 >>",
          "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 5 >>", "<< /Type /Page /Name /p >>"});
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(NameOf(i), i == 5 ? "/p" : "-") << i;

    // A chain of nodes deeper than the limit.
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
    const int depth = kMaxPageTreeDepth + 10;
    for (int n = 2; n < depth + 2; ++n) {
        objects.push_back("<< /Type /Pages /Kids [" + std::to_string(n + 1) + " 0 R] /Count 1 >>");
    }
    objects.push_back("<< /Type /Page /Name /deep >>");
    Open(objects);
    EXPECT_EQ(NameOf(0), "-");
}

TEST_F(PageTreeTest, LargeFlatTreeInOrder) {
    const int pages = 100000;
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    std::string kids;
    for (int k = 0; k < pages; ++k) {
        kids += std::to_string(3 + k) + " 0 R ";
        objects.push_back("<< /Type /Page /Name /p" + std::to_string(k) + " >>");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
    Open(objects);
    for (int k = 0; k < pages; k += 1) {
        ObjectHandle page = document->GetStore()->GetPage(k);
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->objectNumber, 3 + k);
    }
    EXPECT_EQ(NameOf(pages), "-");
    EXPECT_EQ(document->GetStore()->GetPageIndexLimit(), pages);
}

TEST_F(PageTreeTest, IndexLimitEndsCountsBeyondThePages) {
    // One page under nodes that claim far more.
    Open({"<< /Type /Catalog /Pages 2 0 R >>",
          "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 2147483647 >>",
          "<< /Type /Pages /Kids [4 0 R] /Count 1000000 >>", "<< /Type /Page /Name /a >>",
          "<< /Type /Page /Name /b >>"});
    EXPECT_EQ(NameOf(0), "/a");
    EXPECT_EQ(NameOf(1000000), "/b");
    EXPECT_EQ(document->GetStore()->GetPageIndexLimit(), 1000001);
    // A subtree that lists itself is counted at its claimed size.
    Open({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [2 0 R 3 0 R] /Count 9 >>",
          "<< /Type /Page >>"});
    EXPECT_EQ(document->GetStore()->GetPageIndexLimit(), 10);
    Open({"<< /Type /Catalog >>"});
    EXPECT_EQ(document->GetStore()->GetPageIndexLimit(), 0);
}

// Random trees with wrong, zero and negative counts, leaves without /Type and
// shared subtrees: every index gives what the kid-by-kid walk gives.
TEST_F(PageTreeTest, AgreesWithTheKidByKidWalk) {
    std::mt19937 random(1234);
    for (int round = 0; round < 60; ++round) {
        const int nodes = 2 + static_cast<int>(random() % 25);
        std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
        for (int n = 2; n < nodes + 2; ++n) {
            std::string body = "<< /Name /n" + std::to_string(n);
            const int kind = static_cast<int>(random() % 10);
            if (kind < 4 && n > 2) {
                body += " /Type /Page";
            } else {
                if (kind != 4)
                    body += " /Type /Pages";
                int count = static_cast<int>(random() % 9) - 2;
                body += " /Count " + std::to_string(count) + " /Kids [";
                const int kids = static_cast<int>(random() % 6);
                for (int k = 0; k < kids; ++k) {
                    body += " " + std::to_string(2 + static_cast<int>(random() % nodes)) + " 0 R";
                }
                body += " ]";
            }
            objects.push_back(body + " >>");
        }
        PdfObjectStore& store = Open(objects);
        ObjectHandle catalog = store.GetCatalog();
        ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
        const std::int64_t limit = store.GetPageIndexLimit();
        for (std::int32_t i = -3; i < 40; ++i) {
            if (i >= limit) {
                EXPECT_EQ(store.GetPage(i), nullptr) << "round " << round << " index " << i;
            }
            std::int64_t remaining = i;
            std::vector<const PdfObject*> path;
            ObjectHandle expected = ReferenceFindPage(root.get(), remaining, 0, path);
            ObjectHandle actual = store.GetPage(i);
            ASSERT_EQ(actual.get(), expected.get()) << "round " << round << " index " << i;
        }
    }
}

}  // namespace
}  // namespace tessary

// Printing the Item list: the page layout, real jobs into a PDF file read
// back with pdftotext, and the questions asked before any printer dialog.

#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "ContextFixture.h"
#include "ui/print/ItemPrinter.h"
#include "ui/print/PrintCommands.h"

using namespace keynest_test;

namespace {

const QString kWarning = QStringLiteral(
    "You are about to print your passwords in plain text. \n\nAre your sure you want to do this?");
const QString kEmpty = QStringLiteral("List is empty. \n\nPrint anyway? ");

std::string PdfToText(const std::string& pdf) {
    std::string text(1 << 16, '\0');
    FILE* pipe = ::popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!pipe) return {};
    text.resize(std::fread(text.data(), 1, text.size(), pipe));
    ::pclose(pipe);
    return text;
}

/// The non-empty lines of each page, leading blanks dropped.
std::vector<std::vector<std::string>> PdfPages(const std::string& pdf) {
    std::vector<std::vector<std::string>> pages;
    std::istringstream text(PdfToText(pdf));
    for (std::string page; std::getline(text, page, '\f');) {
        std::istringstream lines(page);
        pages.emplace_back();
        for (std::string line; std::getline(lines, line);) {
            const size_t start = line.find_first_not_of(' ');
            if (start != std::string::npos) pages.back().push_back(line.substr(start));
        }
    }
    return pages;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("Loc " + std::to_string(1000 + i));
    return names;
}

}  // namespace

class PrintTest : public ::testing::Test, public ContextFixture {
  protected:
    PrintTest() {
        m_commands.Printer().setOutputFormat(QPrinter::PdfFormat);
        m_commands.Printer().setOutputFileName(QString::fromStdString(m_pdf));
        m_commands.Printer().setPageMargins({}, QPageLayout::Inch);
    }

    /// Makes the page just tall enough for `rows` lines, measured on a probe job.
    void FitPageTo(int rows) {
        CMemoryItemList one;
        CItemPrinter probe(one, m_listLock, m_activity);
        ASSERT_TRUE(probe.Print(m_commands.Printer()));
        const double height = probe.Layout().topOffset + (rows + 0.5) * probe.Layout().lineHeight;
        m_commands.Printer().setPageSize(QPageSize(QSizeF(8.5, height / 100), QPageSize::Inch));
    }

    void PrintAnswering(std::deque<int> answers, bool preview = false) {
        m_fakes.prompter.texts.clear();
        m_fakes.prompter.answers = std::move(answers);
        preview ? m_commands.OnFilePrintPreview() : m_commands.OnFilePrint();
    }

    const std::string m_pdf = m_dir.File("list.pdf");
    /// A printer dialog is open: counts it, and locks and unlocks when asked.
    void DialogOpen() {
        ++m_dialogs;
        if (!m_relockInDialog) return;
        m_vault.Lock();
        EXPECT_TRUE(m_vault.Unlock("secret"));
    }

    int m_dialogs = 0;  // printer dialogs opened
    bool m_relockInDialog = false;
    CPrintCommands m_commands{m_context,
                              {[this](QPrinter&) { return DialogOpen(), true; },
                               [this](QPrinter& printer, const PrintDialogs::Render& render) {
                                   DialogOpen(), render(printer);
                               },
                               {}}};
};

TEST_F(PrintTest, RowsFillEachPageAndNothingFollowsTheLastRow) {
    struct Case {
        int fit, rows, pages, lastPageLines;
    } cases[] = {{60, 250, 5, 10}, {60, 240, 4, 60}, {0, 3, 3, 1}};  // 0: still one row a page
    for (const Case& c : cases) {
        FitPageTo(c.fit);
        m_rows.RemoveAllRows();
        AddRows(Numbered(c.rows));
        PrintAnswering({kPromptYes});

        const auto pages = PdfPages(m_pdf);
        ASSERT_EQ(pages.size(), static_cast<size_t>(c.pages)) << c.rows;
        EXPECT_EQ(pages.back().size(), static_cast<size_t>(c.lastPageLines));
        int row = 0;
        for (const auto& page : pages) {
            for (const std::string& line : page) {
                const std::string location = m_rows.GetText(row++, kColLocation);
                EXPECT_TRUE(std::regex_match(line, std::regex(location + " +pw-" + location)));
            }
        }
        EXPECT_EQ(row, c.rows);
    }
}

TEST_F(PrintTest, QuestionsComeBeforeAnyPrinterDialog) {
    struct Case {
        int rows;
        std::deque<int> answers;
        QStringList texts;
        bool prints;  // an empty list printed anyway is one blank page
    } cases[] = {
        {3, {kPromptNo}, {kWarning}, false},
        {0, {kPromptYes, kPromptNo}, {kWarning, kEmpty}, false},
        {0, {kPromptYes, kPromptYes}, {kWarning, kEmpty}, true},
    };
    for (const bool preview : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.rows << " rows, preview " << preview);
            m_rows.RemoveAllRows();
            AddRows(Numbered(c.rows));
            std::filesystem::remove(m_pdf);
            m_dialogs = 0;
            PrintAnswering(c.answers, preview);
            EXPECT_EQ(m_fakes.prompter.texts, c.texts);
            EXPECT_EQ(m_fakes.prompter.icons.back(),
                      c.texts.size() == 1 ? PromptIcon::None : PromptIcon::Question);
            EXPECT_EQ(m_dialogs, c.prints ? 1 : 0);
            EXPECT_EQ(PdfPages(m_pdf).size(), c.prints ? 1u : 0u);
        }
    }
}

TEST_F(PrintTest, ALockWhileAPrinterDialogIsOpenEndsTheJobEvenAfterTheUnlock) {
    AddRows(Numbered(2));
    m_relockInDialog = true;
    for (const bool preview : {false, true}) {
        PrintAnswering({kPromptYes}, preview);
        EXPECT_FALSE(std::filesystem::exists(m_pdf)) << preview;
    }
}

TEST_F(PrintTest, LongLocationsAreCutSoThatEveryPasswordStaysOnThePage) {
    // 40 letters: a hardened vault's Password may be longer than 16.
    for (const auto& [length, widest] : {std::pair{40u, std::string(kMaxPasswordBytes, 'W')},
                                         std::pair{300u, std::string(kMaxPasswordBytes, 'W')},
                                         std::pair{300u, std::string(40, 'W')}}) {
        m_rows.RemoveAllRows();
        const std::string location(length, 'L');
        m_rows.SetText(m_rows.AppendRow(location), kColPassword, widest);
        PrintAnswering({kPromptYes});
        // pdftotext drops every letter that lies beyond the paper's edge.
        const std::string shown = length < 100 ? location : "L+\u2026";
        EXPECT_TRUE(
            std::regex_match(PdfPages(m_pdf).at(0).at(0), std::regex(shown + " +" + widest)))
            << length;
    }
}

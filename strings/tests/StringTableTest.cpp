#include "Lexora.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

struct Row {
    const char* name;
    const wchar_t* const* texts;  // the exported array, not the table's literals
};

#define LEXORA_ROW(name, zhCN, zhTW, en, ja) \
    static_assert(std::extent_v<decltype(name)> == 4, #name " must hold four languages");
#include "StringTable.def"
#undef LEXORA_ROW

#define LEXORA_ROW(name, zhCN, zhTW, en, ja) {#name, name},
const std::vector<Row> kRows = {
#include "StringTable.def"
};
#undef LEXORA_ROW

constexpr int kEnglish = 2;

const Row& Find(std::string_view name) {
    for (const Row& row : kRows) {
        if (name == row.name) return row;
    }
    throw std::runtime_error("no row " + std::string(name));
}

// An empty or asterisk-only entry is an untranslated one.
bool IsTranslated(std::wstring_view text) {
    return text.find_first_not_of(L'*') != std::wstring_view::npos;
}

// The printf conversions of a text in order, "%%" included.
std::vector<std::wstring> Conversions(std::wstring_view text) {
    std::vector<std::wstring> found;
    for (size_t i = text.find(L'%'); i != std::wstring_view::npos; i = text.find(L'%', i)) {
        size_t end = i + 1;
        while (end < text.size() && std::wstring_view(L"-+ #0123456789.hlL").find(text[end]) != std::wstring_view::npos) {
            ++end;
        }
        end = std::min(end + 1, text.size());
        found.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return found;
}

bool IsDateFormat(std::string_view name) { return name.ends_with("TimeFormat"); }

TEST(StringTable, HasEveryTextOnceUnderItsArea) {
    EXPECT_EQ(kRows.size(), 272u);
    std::set<std::string_view> names;
    for (const Row& row : kRows) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        const std::string_view name = row.name;
        EXPECT_TRUE(name.starts_with("strGeneral_") || name.starts_with("strMainMenu_") ||
                    name.starts_with("strMainDlg_") || name.starts_with("strLaser_") ||
                    name.starts_with("str_PleaseWait_"))
            << name;
        for (int language = 0; language < 4; ++language) ASSERT_NE(row.texts[language], nullptr) << name;
    }
}

TEST(StringTable, EnglishAndChineseAreFilledInExceptTheMakerLine) {
    for (const Row& row : kRows) {
        if (std::string_view(row.name) == "strMainDlg_Status_CompanyInfo") continue;
        EXPECT_NE(row.texts[0][0], L'\0') << row.name;
        EXPECT_NE(row.texts[1][0], L'\0') << row.name;
        EXPECT_NE(row.texts[kEnglish][0], L'\0') << row.name;
    }
    // The maker line exists in the Chinese entries only.
    const Row& maker = Find("strMainDlg_Status_CompanyInfo");
    EXPECT_NE(maker.texts[0][0], L'\0');
    EXPECT_NE(maker.texts[1][0], L'\0');
    EXPECT_STREQ(maker.texts[kEnglish], L"");
}

// A translation that drops or reorders a conversion makes the caller's
// formatting read the wrong argument; a lost line break shifts a layout.
TEST(StringTable, TranslationsKeepPlaceholdersAndLineBreaks) {
    for (const Row& row : kRows) {
        if (IsDateFormat(row.name)) continue;
        const std::wstring_view english = row.texts[kEnglish];
        for (int language = 0; language < 4; ++language) {
            const std::wstring_view text = row.texts[language];
            if (!IsTranslated(text)) continue;
            EXPECT_EQ(Conversions(text), Conversions(english)) << row.name << " language " << language;
            EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), std::count(english.begin(), english.end(), L'\n'))
                << row.name << " language " << language;
        }
    }
}

// Adding spectra up and laying a line over the chart are different commands;
// one word for both has the operator press the wrong button.
TEST(StringTable, TranslationsKeepTheirTermsApart) {
    const std::vector<std::wstring_view> overlayWords = {L"叠加", L"疊加", L"重ね"};
    const std::vector<std::wstring_view> superpositionWords = {L"累加", L"積算"};
    const auto usesAny = [](std::wstring_view text, const std::vector<std::wstring_view>& words) {
        return std::any_of(words.begin(), words.end(), [&](std::wstring_view word) { return text.find(word) != text.npos; });
    };
    for (const Row& row : kRows) {
        const std::wstring_view english = row.texts[kEnglish];
        for (int language : {0, 1, 3}) {
            const std::wstring_view text = row.texts[language];
            if (english.find(L"Superposition") != english.npos) {
                EXPECT_FALSE(usesAny(text, overlayWords)) << row.name << " language " << language;
            }
            if (english.find(L"Overlay") != english.npos) {
                EXPECT_FALSE(usesAny(text, superpositionWords)) << row.name << " language " << language;
            }
            EXPECT_EQ(text.find(L"..."), text.npos) << row.name << " language " << language << " has a Latin ellipsis";
        }
    }
}

TEST(StringTable, DateFormatsUseOnlyClockConversions) {
    int dateRows = 0;
    for (const Row& row : kRows) {
        if (!IsDateFormat(row.name)) continue;
        ++dateRows;
        for (int language = 0; language < 4; ++language) {
            for (const std::wstring& conversion : Conversions(row.texts[language])) {
                EXPECT_TRUE(conversion.size() == 2 && std::wstring_view(L"YmdHMSab").find(conversion[1]) != std::wstring_view::npos)
                    << row.name << " language " << language;
            }
        }
    }
    EXPECT_GT(dateRows, 0);
}

TEST(StringTable, TextsThatCarryLayout) {
    // The calibration table's heading sits two lines below the label above it.
    for (const wchar_t* text : std::span(Find("strMainDlg_SpectrumRegion_WavelengthCalibration_UsingPixels").texts, 4)) {
        if (IsTranslated(text)) {
            EXPECT_EQ(std::wstring_view(text).substr(0, 2), L"\n\n");
        }
    }
    // The clock is written straight after this label.
    EXPECT_TRUE(std::wstring_view(Find("strMainDlg_Status_Time").texts[kEnglish]).ends_with(L' '));
}

// The program imports the arrays by their plain names, as data.
TEST(StringTable, ArraysAreExportedUnderTheirNames) {
    void* library = dlopen("liblexora.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const Row& row : kRows) {
        const auto* exported = static_cast<const wchar_t* const*>(dlsym(library, row.name));
        ASSERT_NE(exported, nullptr) << row.name;
        EXPECT_STREQ(exported[kEnglish], row.texts[kEnglish]) << row.name;
    }
    dlclose(library);
}

}  // namespace

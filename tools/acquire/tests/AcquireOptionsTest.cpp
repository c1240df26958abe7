#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AcquireOptions.h"

using namespace quenlix;

namespace {

struct Parsed {
    bool ok = false;
    AcquireOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "quenlix-acquire");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    Parsed result;
    result.ok = ParseAcquireOptions(static_cast<int>(argv.size()), argv.data(), result.options, result.error);
    return result;
}

// A command line that acquires, with what a case adds.
std::vector<std::string> Acquiring(std::vector<std::string> more) {
    std::vector<std::string> args = {"--integration-ms", "10", "--out", "."};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

struct BadCase {
    std::vector<std::string> args;
    const char* line;  // the whole message
};

void ExpectRefused(const std::vector<BadCase>& cases) {
    for (const BadCase& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        SCOPED_TRACE(shown);
        const Parsed parsed = Parse(c.args);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, c.line);
    }
}

}  // namespace

TEST(AcquireOptions, ValuesOutOfRangeOrNotNumbersAreRefusedNamingTheOption) {
    ExpectRefused({
        {Acquiring({"--count", "0"}), "--count takes a whole number from 1 to 2147483647, not '0'"},
        {Acquiring({"--count", "12x"}), "--count takes a whole number from 1 to 2147483647, not '12x'"},
        {Acquiring({"--count", "99999999999"}),
         "--count takes a whole number from 1 to 2147483647, not '99999999999'"},
        {Acquiring({"--average", "-2"}), "--average takes a whole number from 1 to 2147483647, not '-2'"},
        {Acquiring({"--smooth", "1.5"}), "--smooth takes a whole number from 0 to 2147483647, not '1.5'"},
        {Acquiring({"--interval-ms", ""}), "--interval-ms takes a whole number from 0 to 2147483647, not ''"},
        {Acquiring({"--device", "first"}), "--device takes a whole number from 0 to 2147483647, not 'first'"},
        {{"--integration-ms", "0", "--out", "."}, "--integration-ms takes a number above 0, not '0'"},
        {{"--integration-ms", "10,5", "--out", "."}, "--integration-ms takes a number above 0, not '10,5'"},
        {{"--integration-ms", "inf", "--out", "."}, "--integration-ms takes a number above 0, not 'inf'"},
        {Acquiring({"--x", "raman", "--excitation", "-785"}),
         "--excitation takes a number above 0, not '-785'"},
        {Acquiring({"--y", "counts"}),
         "--y takes raw, dark, transmission, reflection, absorbance or db, not 'counts'"},
        {Acquiring({"--x", "NM"}), "--x takes nm, um, pixel, ghz, wavenumber or raman, not 'NM'"},
        {Acquiring({"--trigger", "hardware"}), "--trigger takes clock, soft or external, not 'hardware'"},
        {Acquiring({"--format", "jdx"}), "--format takes txt, csv or jcamp, not 'jdx'"},
        {Acquiring({"--simulate=0"}), "--simulate takes a device count from 1 to 16, not '0'"},
        {Acquiring({"--simulate=17"}), "--simulate takes a device count from 1 to 16, not '17'"},
        {Acquiring({"--serial", ""}), "--serial takes a serial number, not an empty text"},
        {Acquiring({"--prefix", "a/b"}), "--prefix is the start of a file name, not 'a/b'"},
        {{"--integration-ms", "10", "--out", ""}, "--out takes a folder or -, not an empty text"},
        {Acquiring({"--auto-integration=0"}),
         "--auto-integration takes a fraction of full scale above 0 and at most 1, not '0'"},
        {Acquiring({"--auto-integration=1.01"}),
         "--auto-integration takes a fraction of full scale above 0 and at most 1, not '1.01'"},
        {Acquiring({"--auto-integration=80%"}),
         "--auto-integration takes a fraction of full scale above 0 and at most 1, not '80%'"},
        {Acquiring({"--auto-integration", "--auto-margin", "-1"}),
         "--auto-margin takes a whole number from 0 to 2147483647, not '-1'"},
    });
}

// A dark spectrum belongs to one integration time, and triggered frames do
// not come on their own.
TEST(AcquireOptions, AutomaticIntegrationTimeRefusesWhatItCannotGoWith) {
    ExpectRefused({
        {Acquiring({"--auto-integration", "--take-dark"}),
         "--auto-integration changes the integration time, which --take-dark must match: give one of them"},
        {Acquiring({"--auto-integration", "--dark", "d.txt"}),
         "--auto-integration changes the integration time, which --dark must match: give one of them"},
        {Acquiring({"--auto-integration", "--trigger", "external"}),
         "--auto-integration needs --trigger clock: it judges frames as they come"},
        {Acquiring({"--auto-margin", "5"}), "--auto-margin is used only with --auto-integration"},
    });
    const Parsed plain = Parse(Acquiring({"--auto-integration"}));
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_TRUE(plain.options.autoIntegration);
    EXPECT_EQ(plain.options.autoTarget, 0.8);
    EXPECT_EQ(plain.options.autoMargin, 10);
    const Parsed given = Parse(Acquiring({"--auto-integration=1", "--auto-margin=0"}));
    ASSERT_TRUE(given.ok) << given.error;
    EXPECT_EQ(given.options.autoTarget, 1.0);
    EXPECT_EQ(given.options.autoMargin, 0);
    EXPECT_FALSE(Parse(Acquiring({})).options.autoIntegration);
}

TEST(AcquireOptions, MalformedCommandLinesAreRefused) {
    ExpectRefused({
        {Acquiring({"--colour", "red"}), "unknown option '--colour'"},
        {Acquiring({"-c", "3"}), "unexpected argument '-c': options start with --"},
        {Acquiring({"extra"}), "unexpected argument 'extra': options start with --"},
        {Acquiring({"--count"}), "--count needs a value"},
        {Acquiring({"--count", "--average", "2"}), "--count needs a value"},
        {Acquiring({"--count", "2", "--count", "3"}), "--count is given twice"},
        {Acquiring({"--take-dark=yes"}), "--take-dark takes no value"},
        {{"--list", "--count", "3"}, "--list takes no other option but --simulate and --config-dir, not --count"},
        {{"--list", "--config-dir="}, "--config-dir takes a folder, not an empty text"},
    });
}

TEST(AcquireOptions, OptionsThatDoNotGoTogetherOrAreMissingAreRefused) {
    ExpectRefused({
        {{"--out", "."}, "--integration-ms is missing: the integration time in milliseconds"},
        {{"--integration-ms", "10"},
         "--out is missing: the folder to write into, or - for CSV on standard output"},
        {Acquiring({"--device", "1", "--serial", "X"}),
         "--device and --serial both choose the spectrometer: give one of them"},
        {Acquiring({"--dark", "d.txt", "--take-dark"}),
         "--dark and --take-dark both give the dark spectrum: give one of them"},
        {Acquiring({"--y", "dark"}), "--y dark needs a dark spectrum: give --dark FILE or --take-dark"},
        {Acquiring({"--y", "db"}), "--y db needs a dark spectrum: give --dark FILE or --take-dark"},
        {Acquiring({"--y", "absorbance", "--reference", "r.txt"}),
         "--y absorbance needs a dark spectrum: give --dark FILE or --take-dark"},
        {Acquiring({"--y", "transmission", "--take-dark"}), "--y transmission needs --reference FILE"},
        {Acquiring({"--take-dark", "--reference", "r.txt"}),
         "--reference is used only with --y transmission, reflection or absorbance"},
        {Acquiring({"--excitation", "532"}), "--excitation is used only with --x raman"},
        {{"--integration-ms", "10", "--out", "-", "--format", "jcamp"},
         "--format jcamp cannot go to standard output: --out - writes CSV"},
        {{"--integration-ms", "10", "--out", "-", "--prefix", "a"},
         "--prefix names files: it has no use with --out -"},
    });
}

TEST(AcquireOptions, DefaultsAndTheForms) {
    const Parsed plain = Parse(Acquiring({}));
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_EQ(plain.options.action, AcquireOptions::Action::Acquire);
    EXPECT_EQ(plain.options.simulatedDevices, -1);
    EXPECT_EQ(plain.options.deviceNumber, 0);
    EXPECT_EQ(plain.options.count, 1);
    EXPECT_EQ(plain.options.yType, 0);
    EXPECT_EQ(plain.options.format, AcquireOptions::Format::Text);
    EXPECT_EQ(plain.options.outDir, ".");

    // A dark spectrum given is subtracted unless another unit is asked for.
    EXPECT_EQ(Parse(Acquiring({"--take-dark"})).options.yType, 1);
    EXPECT_EQ(Parse(Acquiring({"--dark", "d.txt", "--y", "raw"})).options.yType, 0);

    const Parsed forms = Parse({"--integration-ms=12.5", "--out=-", "--count=3", "--simulate", "--x", "raman",
                                "--excitation", "532", "--trigger", "external", "--serial", "SIM1"});
    ASSERT_TRUE(forms.ok) << forms.error;
    EXPECT_EQ(forms.options.integrationMs, 12.5);
    EXPECT_TRUE(forms.options.toStdout);
    EXPECT_EQ(forms.options.format, AcquireOptions::Format::Csv) << "standard output takes CSV";
    EXPECT_EQ(forms.options.count, 3);
    EXPECT_EQ(forms.options.simulatedDevices, 2);
    EXPECT_EQ(forms.options.xType, 5);
    EXPECT_EQ(forms.options.excitationNm, 532.0);
    EXPECT_EQ(forms.options.trigger, AcquireOptions::Trigger::External);
    EXPECT_EQ(forms.options.serialNumber, "SIM1");

    const Parsed list = Parse({"--list", "--simulate=3"});
    ASSERT_TRUE(list.ok) << list.error;
    EXPECT_EQ(list.options.action, AcquireOptions::Action::List);
    EXPECT_EQ(list.options.simulatedDevices, 3);
    const Parsed listed = Parse({"--list", "--config-dir", "/srv/q"});
    ASSERT_TRUE(listed.ok) << listed.error;
    EXPECT_EQ(listed.options.settingsFolder, "/srv/q");

    // Help and version are shown whatever else the line holds.
    for (const auto& args : {std::vector<std::string>{"--count", "0", "--help"}, {"--bogus", "-h"}, {"-h"}}) {
        const Parsed help = Parse(args);
        EXPECT_TRUE(help.ok);
        EXPECT_EQ(help.options.action, AcquireOptions::Action::Help);
    }
    EXPECT_EQ(Parse({"--list", "--count", "2", "--version"}).options.action, AcquireOptions::Action::Version);
}

TEST(AcquireOptions, HelpTellsEveryExitCode) {
    const std::string help = AcquireUsage("quenlix-acquire");
    for (const char* line : {"  0  done", "  1  bad arguments", "  2  no such spectrometer",
                             "  3  the spectrometer failed during acquisition", "  4  output not writable"})
        EXPECT_NE(help.find(line), std::string::npos) << line;
}

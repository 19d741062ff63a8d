// The routeplan program itself: convert by the output's extension or --to, show, --help, and a
// refused input that leaves no output file behind.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Ran {
    int status = -1;
    std::string out;  // standard output and standard error together
};

Ran run(const std::string& args) {
    Ran r;
    const std::string command = std::string(ROUTEPLAN_BIN) + " " + args + " 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), p)) > 0) r.out.append(buffer.data(), n);
    const int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class RouteplanCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("routeplan_cli_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const char* d = std::getenv("PANEL_TEST_DATA");
        data_ = d ? d : "tests/data";
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string plans(const std::string& name) const { return data_ + "/plans/" + name; }
    std::string extract() const { return "--data " + data_ + "/navdata"; }
    fs::path dir_;
    std::string data_;
};

TEST_F(RouteplanCli, ConvertChoosesTheFormatByTheExtensionOrTo) {
    const fs::path fms = dir_ / "out.fms", fg = dir_ / "out.fgfp", fmc = dir_ / "out.pln", other = dir_ / "out.txt";
    EXPECT_EQ(run("convert " + extract() + " " + plans("ksfo-klax-msfs.pln") + " " + fms.string()).status, 0);
    EXPECT_EQ(slurp(fms).rfind("I\n1100 Version\n", 0), 0u);
    EXPECT_EQ(run("convert " + extract() + " " + fms.string() + " " + fg.string()).status, 0);
    EXPECT_NE(slurp(fg).find("<PropertyList>"), std::string::npos);
    EXPECT_EQ(run("convert " + extract() + " " + fg.string() + " " + fmc.string()).status, 0);
    EXPECT_EQ(slurp(fmc).rfind("[DEPARTURE]\r\nAIRPORT=KSFO\r\n", 0), 0u);
    EXPECT_EQ(run("convert " + extract() + " --to fms " + plans("ksfo-klax-msfs.pln") + " " + other.string()).status,
              0);
    EXPECT_EQ(slurp(other), slurp(fms));
    const Ran no_format = run("convert " + extract() + " " + fmc.string() + " " + (dir_ / "out.doc").string());
    EXPECT_EQ(no_format.status, 2);
    EXPECT_NE(no_format.out.find("give --to"), std::string::npos);
}

TEST_F(RouteplanCli, ARouteStringWithItsCruiseAndRunways) {
    const fs::path out = dir_ / "r.pln";
    const Ran r = run(extract() + " --out " + out.string() + " KSFO/28R SSTIK5 M078F350 SFO V25 SNS KLAX/24R");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("skipped SSTIK5"), std::string::npos);
    const std::string text = slurp(out);
    EXPECT_NE(text.find("RUNWAY=28R/"), std::string::npos);
    EXPECT_NE(text.find("RUNWAY=24R/"), std::string::npos);
    EXPECT_NE(text.find("CRUISE_SPEED=0.78\r\nCRUISE_ALTITUDE=35000\r\n"), std::string::npos);
}

TEST_F(RouteplanCli, ShowPrintsTheRoute) {
    const Ran r = run("show " + extract() + " " + plans("ksfo-klax-simbrief.xml"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("(simbrief)"), std::string::npos);
    EXPECT_NE(r.out.find("IDENT        TYPE POSITION                AIRWAY     LEG NM   ALT FT"), std::string::npos);
    EXPECT_NE(r.out.find("SANTY        INT  N36.979239 W122.073075  V25          13.7"), std::string::npos);
    EXPECT_NE(r.out.find("cruise FL330 at Mach 0.76; 303.7 nm in all"), std::string::npos);
    // A plan file's own altitudes are what it shows: the FMC's plan as its records hold them.
    const fs::path fmc = dir_ / "fmc.pln";
    std::string text = slurp(plans("../../../data/root/NavData/FlightPlans/KSFO-KLAX.pln"));
    const std::size_t santy = text.find("INT  SANTY");
    ASSERT_NE(santy, std::string::npos);
    text.replace(santy + 75, 5, "12345");
    std::ofstream(fmc, std::ios::binary) << text;
    const Ran held = run("show " + fmc.string());
    EXPECT_NE(held.out.find("SANTY        INT  N36.979239 W122.073075  DCT          13.7    12345"), std::string::npos)
        << held.out;
}

TEST_F(RouteplanCli, HelpEverywhere) {
    for (const char* args : {"--help", "convert --help", "show --help"}) {
        const Ran r = run(args);
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_NE(r.out.find("routeplan convert"), std::string::npos) << args;
    }
    EXPECT_EQ(run("convert one").status, 2);
}

TEST_F(RouteplanCli, ARefusedInputWritesNothing) {
    const fs::path bad = dir_ / "bad.fgfp", out = dir_ / "out.pln";
    const std::string good = slurp(plans("ksfo-klax.fgfp"));
    std::ofstream(bad, std::ios::binary) << good.substr(0, good.size() / 2);
    const Ran r = run("convert " + extract() + " " + bad.string() + " " + out.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(bad.string() + ":"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
}

// show and convert read a file alike: the same files are taken, with the same warnings, and the
// same are refused, with the same message.
TEST_F(RouteplanCli, ShowAndConvertAcceptAndRefuseTheSameFiles) {
    auto warnings_of = [](const std::string& out) {
        std::string w;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("routeplan: ", 0) == 0) w += line + "\n";
        return w;
    };
    int changed = 0;
    auto variant = [&](const std::string& name, const std::string& from, const std::string& to) {
        std::string text = slurp(plans(name));
        text.replace(text.find(from), from.size(), to);
        const fs::path path = dir_ / (std::to_string(++changed) + "-" + name);
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    };
    const std::vector<std::string> files = {
        plans("ksfo-klax-user-start-v3.fms"), plans("ksfo-klax-msfs2024.pln"), plans("ksfo-klax-fs9.pln"),
        plans("ksfo-klax-airports-as-points.fgfp"), plans("ksfo-klax-user-points.fms"),
        variant("ksfo-klax-airports-as-points.fgfp", ">24R<", ">22R<"),
        variant("ksfo-klax-airports-as-points.fgfp", ">28L<", ">29L<"),
        variant("ksfo-klax-msfs2024.pln", ">MOVER<", ">ZZQQX<"),
        variant("ksfo-klax-fs9.pln", "KSFO, A", "KZZZ, A"),
        variant("ksfo-klax.fgfp", ">2</version>", ">1e999</version>"),
        variant("ksfo-klax-user-start-v3.fms", "37.611000 -122.390000", "30.000000 -140.000000")};
    int refused = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Ran shown = run("show " + file);
        const Ran converted = run("convert " + file + " " + (dir_ / "out.pln").string());
        EXPECT_EQ(shown.status, converted.status) << shown.out << converted.out;
        if (shown.status == 0) {
            EXPECT_EQ(warnings_of(shown.out), warnings_of(converted.out));
        } else {
            EXPECT_EQ(shown.out, converted.out);
            EXPECT_EQ(shown.out.rfind("routeplan: " + file + ":", 0), 0u) << shown.out;
            ++refused;
        }
    }
    EXPECT_EQ(refused, 5);
}

}  // namespace

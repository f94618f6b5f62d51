// Scripts of user actions for the headless analyzer: the line syntax, the check of the whole
// script, and each action on a running program. User-interface thread (the caller's).
#include "cli/script.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "cli/app_run.h"
#include "port/messages.h"
#include "state/state.h"

namespace cli {
namespace {

struct Line {
    int number = 0;
    std::string text;               // the line without its comment
    std::vector<std::string> words; // the action's name first
    // The text after the first n words following the action's name, without surrounding blanks:
    // a path or a typed text may hold blanks.
    std::string Rest(std::size_t n) const {
        std::size_t pos = 0;
        for (std::size_t i = 0; i <= n; ++i) {
            pos = text.find_first_not_of(" \t", pos);
            pos = text.find_first_of(" \t", pos);
            if (pos == std::string::npos)
                return "";
        }
        const std::size_t first = text.find_first_not_of(" \t", pos);
        const std::size_t last = text.find_last_not_of(" \t\r");
        return first == std::string::npos ? "" : text.substr(first, last - first + 1);
    }
};

// What the actions share. While checking (check is true) an action only reads its arguments.
struct Context {
    AppRun& run;
    bool check;
    headless::CaptureSource source; // the input now on the sound card
    bool quit;
    const ScriptLimits& limits;
    int64_t blocks; // asked for by the frames actions so far
};

bool Int(const std::string& word, int low, int high, int* out, std::string* error) {
    int value = 0;
    if (!ReadInt(word, &value) || value < low || value > high)
        return Fail(error, "\"" + word + "\" is not a whole number from " + std::to_string(low) +
                               " to " + std::to_string(high));
    *out = value;
    return true;
}

bool Number(const std::string& word, double low, double high, double* out, std::string* error) {
    double value = 0.0;
    if (!ReadNumber(word, &value) || value < low || value > high)
        return Fail(error, "\"" + word + "\" is not a number from " + std::to_string(low) + " to " +
                               std::to_string(high));
    *out = value;
    return true;
}

struct Range {
    int low;
    int high;
};
constexpr Range kControlId{0, 0xFFFF};

// The words after the action's name as whole numbers, each within its range; then, unless only
// checking, act on them, which returns whether it succeeded.
template <std::size_t N, typename Act>
bool WithInts(Context& c, const Line& l, const Range (&ranges)[N], std::string* error, Act act) {
    int values[N] = {};
    for (std::size_t i = 0; i < N; ++i)
        if (!Int(l.words[i + 1], ranges[i].low, ranges[i].high, &values[i], error))
            return false;
    return c.check || act(values);
}

struct Name {
    const char* name;
    int value;
};

// A name of the table (any case) or a number from low to high.
bool NameOrInt(const std::string& word, const Name* names, std::size_t count, int low, int high,
               int* out, std::string* error) {
    std::string upper = word;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::size_t i = 0; i < count; ++i) {
        if (upper == names[i].name) {
            *out = names[i].value;
            return true;
        }
    }
    return Int(word, low, high, out, error);
}

constexpr Name kKeyNames[] = {
    {"SPACE", VK_SPACE}, {"PGUP", VK_PRIOR},  {"PGDN", VK_NEXT}, {"LEFT", VK_LEFT},
    {"UP", VK_UP},       {"RIGHT", VK_RIGHT}, {"DOWN", VK_DOWN}, {"F1", VK_F1},
};

constexpr Name kScrollNames[] = {
    {"LINELEFT", SB_LINELEFT},   {"LINERIGHT", SB_LINERIGHT},         {"PAGELEFT", SB_PAGELEFT},
    {"PAGERIGHT", SB_PAGERIGHT}, {"THUMBPOSITION", SB_THUMBPOSITION}, {"THUMBTRACK", SB_THUMBTRACK},
};

constexpr Name kMouseNames[] = {
    {"DOWN", WM_LBUTTONDOWN}, {"MOVE", WM_MOUSEMOVE}, {"UP", WM_LBUTTONUP}};

template <std::size_t N>
bool Named(const std::string& word, const Name (&names)[N], int* out, std::string* error) {
    return NameOrInt(word, names, N, 1, 0, out, error) ||
           Fail(error, "\"" + word + "\" is not one of the names this action takes");
}

// The file named by the rest of the line; false with a reason when there is none or the limits
// refuse it.
bool FilePath(const Context& c, const Line& l, std::string* path, std::string* error) {
    *path = l.Rest(0);
    if (path->empty())
        return Fail(error, l.words[0] + " needs a file");
    if (c.limits.plainFileNames &&
        (path->find_first_of("/\\:") != std::string::npos || *path == "." || *path == ".."))
        return Fail(error, "\"" + *path + "\" is not a plain file name");
    return true;
}

// ---- The actions

bool Wav(Context& c, const Line& l, std::string* error) {
    std::string path;
    if (!FilePath(c, l, &path, error))
        return false;
    if (c.check)
        return true;
    headless::CaptureSource source;
    source.kind = headless::CaptureSource::Kind::Wav;
    source.wav = std::make_shared<headless::WavReader>();
    std::string reason;
    if (!source.wav->Open(c.run.Resolve(path), &reason))
        return Fail(error, path + ": " + reason);
    if (!c.run.UseSource(source, static_cast<int32_t>(source.wav->Rate()), &reason))
        return Fail(error, path + ": " + reason);
    c.source = std::move(source);
    return true;
}

bool Tone(Context& c, const Line& l, std::string* error) {
    headless::CaptureSource source;
    const std::string& kind = l.words[1];
    std::size_t levelAt = 2;
    if (kind == "silence") {
        levelAt = l.words.size();
    } else if (kind == "sine") {
        source.kind = headless::CaptureSource::Kind::Sine;
        if (l.words.size() < 3)
            return Fail(error, "tone sine needs a frequency");
        if (!Number(l.words[2], 1.0, 22050.0, &source.frequencyHz, error))
            return false;
        levelAt = 3;
    } else if (kind == "noise") {
        source.kind = headless::CaptureSource::Kind::Noise;
    } else {
        return Fail(error, "tone takes silence, sine or noise, not \"" + kind + "\"");
    }
    if (l.words.size() > levelAt + 1)
        return Fail(error, "too many words for tone " + kind);
    if (l.words.size() == levelAt + 1) {
        double db = 0.0;
        if (!Number(l.words[levelAt], -120.0, 0.0, &db, error))
            return false;
        source.level = std::pow(10.0, db / 20.0);
    }
    if (c.check)
        return true;
    if (!c.run.UseSource(source, captureRate, error))
        return false;
    c.source = source;
    return true;
}

bool Rate(Context& c, const Line& l, std::string* error) {
    int rate = 0;
    if (!ReadInt(l.words[1], &rate) ||
        ChoiceIndex(kSampleRateChoices, kSampleRateChoiceCount, rate) < 0)
        return Fail(error, "rate takes 44100, 22050, 11025 or 8000");
    return c.check || c.run.UseSource(c.source, rate, error);
}

bool Fft(Context& c, const Line& l, std::string* error) {
    int size = 0;
    if (!ReadInt(l.words[1], &size) || ChoiceIndex(kFftSizeChoices, kFftSizeChoiceCount, size) < 0)
        return Fail(error, "fft takes 2048, 4096, 8192, 16384 or 32768");
    return c.check || c.run.ChangeFftSize(size, error);
}

bool Size(Context& c, const Line& l, std::string* error) {
    return WithInts(c, l, {{1, 1 << 20}, {1, 1 << 20}}, error,
                    [&](const int* v) { return c.run.Resize(v[0], v[1], error); });
}

bool Command(Context& c, const Line& l, std::string* error) {
    return WithInts(c, l, {kControlId}, error, [&](const int* v) {
        c.run.Command(v[0]);
        return true;
    });
}

bool Select(Context& c, const Line& l, std::string* error) {
    return WithInts(c, l, {kControlId, {-1, 1000}}, error, [&](const int* v) {
        c.run.SelectItem(v[0], v[1]);
        return true;
    });
}

bool Text(Context& c, const Line& l, std::string* error) {
    return WithInts(c, l, {kControlId}, error, [&](const int* v) {
        c.run.TypeText(v[0], l.Rest(1));
        return true;
    });
}

bool Trackbar(Context& c, const Line& l, std::string* error) {
    return WithInts(c, l, {kControlId, {0, 0xFFFF}}, error, [&](const int* v) {
        c.run.MoveTrackbar(v[0], v[1]);
        return true;
    });
}

bool Key(Context& c, const Line& l, std::string* error) {
    const std::string& word = l.words[1];
    int key = 0;
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
        key = std::toupper(static_cast<unsigned char>(word[0]));
    else if (!NameOrInt(word, kKeyNames, std::size(kKeyNames), 1, 255, &key, error))
        return false;
    if (!c.check)
        c.run.Key(key);
    return true;
}

bool Mouse(Context& c, const Line& l, std::string* error) {
    int message = 0;
    int x = 0;
    int y = 0;
    if (!Named(l.words[1], kMouseNames, &message, error) ||
        !Int(l.words[2], -32768, 32767, &x, error) || !Int(l.words[3], -32768, 32767, &y, error))
        return false;
    const bool shift = l.words.size() == 5;
    if (shift && l.words[4] != "shift")
        return Fail(error, "mouse takes \"shift\" after the point, not \"" + l.words[4] + "\"");
    if (!c.check)
        c.run.Mouse(static_cast<uint32_t>(message), x, y, shift);
    return true;
}

bool Scroll(Context& c, const Line& l, std::string* error) {
    int code = 0;
    int position = 0;
    if (!NameOrInt(l.words[1], kScrollNames, std::size(kScrollNames), 0, 0xFFFF, &code, error))
        return false;
    if (l.words.size() == 3 && !Int(l.words[2], 0, 0xFFFF, &position, error))
        return false;
    if (!c.check)
        c.run.Scroll(code, position);
    return true;
}

bool Frames(Context& c, const Line& l, std::string* error) {
    int count = 0;
    if (!Int(l.words[1], 0, 1000000, &count, error))
        return false;
    if (!c.check) {
        c.run.RunBlocks(count);
        return true;
    }
    c.blocks += count;
    return c.blocks <= c.limits.maxBlocks ||
           Fail(error, "the script asks for more than " + std::to_string(c.limits.maxBlocks) +
                           " frames in all");
}

bool MenuAnswer(Context& c, const Line& l, std::string* error) {
    std::vector<int> items;
    for (std::size_t i = 1; i < l.words.size(); ++i) {
        int item = 0;
        if (!Int(l.words[i], 0, 99, &item, error))
            return false;
        items.push_back(item);
    }
    if (!c.check)
        c.run.SetMenuAnswers(items);
    return true;
}

bool SaveAnswer(Context& c, const Line& l, std::string* error) {
    std::string path;
    if (!FilePath(c, l, &path, error))
        return false;
    if (!c.check)
        headless::SetSaveAnswer(path == "cancel" ? nullptr : c.run.Resolve(path).c_str());
    return true;
}

bool Export(Context& c, const Line& l, std::string* error) {
    std::string path;
    if (!FilePath(c, l, &path, error))
        return false;
    return c.check || c.run.Export(path, error);
}

bool Screenshot(Context& c, const Line& l, std::string* error) {
    std::string path;
    if (!FilePath(c, l, &path, error))
        return false;
    return c.check || c.run.Screenshot(path, error);
}

bool Close(Context& c, const Line&, std::string*) {
    if (!c.check && c.run.Close())
        c.quit = true;
    return true;
}

bool Quit(Context& c, const Line&, std::string*) {
    c.quit = !c.check;
    return true;
}

using Action = bool (*)(Context&, const Line&, std::string*);
struct Verb {
    const char* name;
    std::size_t minWords; // after the name
    std::size_t maxWords; // kAny: the rest of the line is one argument
    Action action;
};
constexpr std::size_t kAny = 1000;

constexpr Verb kVerbs[] = {
    {"wav", 1, kAny, Wav},
    {"tone", 1, 3, Tone},
    {"rate", 1, 1, Rate},
    {"fft", 1, 1, Fft},
    {"size", 2, 2, Size},
    {"command", 1, 1, Command},
    {"select", 2, 2, Select},
    {"text", 1, kAny, Text},
    {"trackbar", 2, 2, Trackbar},
    {"key", 1, 1, Key},
    {"mouse", 3, 4, Mouse},
    {"scroll", 1, 2, Scroll},
    {"frames", 1, 1, Frames},
    {"menu-answer", 0, 32, MenuAnswer},
    {"save-answer", 1, kAny, SaveAnswer},
    {"export", 1, kAny, Export},
    {"screenshot", 1, kAny, Screenshot},
    {"close", 0, 0, Close},
    {"quit", 0, 0, Quit},
};

const Verb* FindVerb(const std::string& name) {
    for (const Verb& v : kVerbs)
        if (name == v.name)
            return &v;
    return nullptr;
}

std::vector<Line> SplitLines(const std::string& script) {
    std::vector<Line> lines;
    std::istringstream in(script);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        Line line;
        line.number = number;
        line.text = text.substr(0, text.find('#'));
        std::istringstream words(line.text);
        for (std::string w; words >> w;)
            line.words.push_back(w);
        if (!line.words.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

// Runs (or with check only reads) each line; the reason of a failure names its line.
bool RunLines(Context& c, const std::vector<Line>& lines, const std::string& name,
              std::string* error) {
    for (const Line& line : lines) {
        std::string reason;
        const Verb* verb = FindVerb(line.words[0]);
        const std::size_t words = line.words.size() - 1;
        if (verb == nullptr)
            reason = "unknown action \"" + line.words[0] + "\"";
        else if (words < verb->minWords || (verb->maxWords != kAny && words > verb->maxWords))
            reason = "wrong number of words for " + line.words[0];
        else if (verb->action(c, line, &reason))
            reason.clear();
        else if (reason.empty())
            reason = line.words[0] + " failed";
        if (!reason.empty())
            return Fail(error, name + ":" + std::to_string(line.number) + ": " + reason);
        if (c.quit || (!c.check && c.run.Closed()))
            break;
    }
    return true;
}

} // namespace

bool RunScriptText(const std::string& text, const std::string& name, std::string* error,
                   const ScriptLimits& limits) {
    const std::vector<Line> lines = SplitLines(text);
    AppRun run;
    Context check{run, true, headless::CaptureSource{}, false, limits, 0};
    if (!RunLines(check, lines, name, error))
        return false;
    if (!run.Start(kAppViewWidth, kAppViewHeight, error))
        return false;
    Context context{run, false, headless::CaptureSource{}, false, limits, 0};
    const bool done = RunLines(context, lines, name, error);
    run.Stop();
    return done;
}

bool RunScript(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in || !headless::ReadAll(in, &text))
        return Fail(error, path + ": cannot read the script");
    return RunScriptText(text, path, error);
}

} // namespace cli

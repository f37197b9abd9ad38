// melodex-bench-generate: writes a music library that looks like a real collection, for timing
// the analysis on it. Artist folders hold albums whose tracks are named in the styles people's
// rippers and downloads use ("Artist - Title.mp3", "01_Title.mp3", "01. Title.mp3", ...), in
// Chinese and English; about 5% of the files are copies of others under another folder or with a
// remark. The candidates, a tenth as many, sit in a separate source folder: some are copies of
// library tracks, some new songs of known artists, some of new ones. Files are empty except one in
// a hundred, which gets a (sparse) size of a few megabytes. The same seed and size always give
// the same library.
//
// usage: melodex-bench-generate [--seed N] --files N OUT
// Creates OUT/target with N .mp3 files and OUT/source with N / 10.
#include <CLI/CLI.hpp>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::array english_words{
    "Love",     "Heart",     "Night",     "Day",       "Dream",     "Fire",       "Rain",
    "Summer",   "Winter",    "Blue",      "Golden",    "Midnight",  "City",       "River",
    "Ocean",    "Star",      "Moon",      "Sun",       "Light",     "Shadow",     "Dance",
    "Forever",  "Home",      "Road",      "Wild",      "Young",     "Free",       "Lost",
    "Broken",   "Sweet",     "Time",      "Memory",    "Angel",     "Devil",      "Paradise",
    "Storm",    "Thunder",   "Silence",   "Echo",      "Highway",   "Garden",     "Window",
    "Mirror",   "Diamond",   "Silver",    "Crystal",   "Velvet",    "Neon",       "Electric",
    "Radio",    "Story",     "Song",      "Letter",    "Promise",   "Secret",     "Whisper",
    "Wonder",   "Morning",   "Evening",   "Tomorrow",  "Yesterday", "Heaven",     "Island",
    "Mountain", "Valley",    "Desert",    "Snow",      "Spring",    "Autumn",     "Flower",
    "Rose",     "Butterfly", "Bird",      "Wolf",      "Tiger",     "Horse",      "Train",
    "Station",  "Street",    "Avenue",    "Bridge",    "Tower",     "Castle",     "Kingdom",
    "Queen",    "King",      "Girl",      "Boy",       "Friend",    "Stranger",   "Lover",
    "Baby",     "Mama",      "Papa",      "Soul",      "Spirit",    "Ghost",      "Magic",
    "Mystery",  "Journey",   "Voyage",    "Runaway",   "Escape",    "Hello",      "Goodbye",
    "Again",    "Alone",     "Together",  "Never",     "Always",    "Everything", "Nothing",
    "Someone",  "Somebody",  "Tonight",   "Today",     "Closer",    "Higher",     "Deeper",
    "Faster",   "Slow",      "Easy",      "Hard",      "Cold",      "Warm",       "Hot",
    "Bright",   "Dark",      "Falling",   "Rising",    "Running",   "Waiting",    "Calling",
    "Burning",  "Shining",   "Dancing",   "Crying",    "Smile",     "Tears",      "Kiss",
    "Touch",    "Eyes",      "Hands",     "Wings",     "Bones",     "Blood",      "Gold",
    "Paper",    "Glass",     "Stone",     "Iron",      "Water",     "Wind",       "Sky",
    "Cloud",    "Horizon",   "Harbor",    "Lights",    "Colors",    "Seasons",    "Waves",
    "Tides",    "Fields",    "Streets",   "Nights",    "Days",      "Wonderland", "Sunrise",
    "Sunset",   "Moonlight", "Starlight", "Firefly",   "Lullaby",   "Anthem",     "Ballad",
    "Blues",    "Melody",    "Rhythm",    "Harmony",   "Symphony",  "Serenade",   "Carnival",
    "Circus",   "Parade",    "Party",     "Holiday",   "Weekend",   "Monday",     "Sunday",
    "Chance",   "Fortune",   "Destiny",   "Glory",     "Victory",   "Freedom",    "Rebel",
    "Hero",     "Legend",    "Empire",    "Machine",   "Rocket",    "Satellite",  "Planet",
    "Galaxy",   "Universe",  "Gravity",   "Chemistry", "Poison",    "Medicine",   "Remedy",
    "Fever",    "Sugar",     "Honey",     "Cherry",    "Lemon",     "Coffee",     "Wine",
    "Whiskey",  "Champagne", "Cinnamon",  "Vanilla",   "Chocolate", "Caramel"};

constexpr std::array english_first_names{
    "John",   "Paul",   "Mary",    "Anna",  "David",  "Sarah", "Michael", "Emma", "James", "Olivia",
    "Robert", "Sophia", "William", "Grace", "Daniel", "Chloe", "Thomas",  "Lucy", "Jack",  "Ella",
    "Henry",  "Alice",  "Samuel",  "Ruby",  "Peter",  "Laura", "Mark",    "Nina", "Oscar", "Julia",
    "Leo",    "Zoe",    "Max",     "Ivy",   "Sam",    "Kate",  "Ben",     "Lily", "Adam",  "Eva"};

constexpr std::array english_last_names{
    "Smith",  "Brown",    "Taylor",   "Wilson",  "Davies", "Evans",    "Johnson", "Walker",
    "Wright", "Robinson", "Thompson", "White",   "Hughes", "Edwards",  "Green",   "Hall",
    "Wood",   "Harris",   "Martin",   "Jackson", "Clarke", "Turner",   "Hill",    "Moore",
    "Cooper", "Ward",     "Morris",   "King",    "Baker",  "Harrison", "Morgan",  "Allen",
    "Young",  "Scott",    "Mitchell", "Carter",  "Parker", "Bennett",  "Murphy",  "Reed"};

constexpr std::array chinese_surnames{"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                      "徐", "孙", "马", "朱", "胡", "郭", "何", "林", "罗", "高",
                                      "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹"};

constexpr std::array chinese_given{"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋",
                                   "勇", "艳", "杰", "娟", "涛", "明", "超", "秀", "霞", "平",
                                   "刚", "桂", "英", "华", "文", "玲", "宇", "晨", "欣", "怡",
                                   "浩", "然", "思", "雨", "佳", "俊", "凯", "琳", "萱", "哲"};

constexpr std::array chinese_title_characters{
    "爱", "情", "心", "梦", "夜", "月", "光", "风", "雨", "花", "雪", "海", "天", "星", "云",
    "山", "水", "春", "夏", "秋", "冬", "你", "我", "他", "她", "的", "是", "不", "在", "有",
    "一", "个", "人", "时", "候", "离", "开", "回", "家", "路", "远", "方", "等", "待", "想",
    "念", "忘", "记", "说", "好", "再", "见", "晴", "阴", "美", "丽", "温", "柔", "孤", "单",
    "快", "乐", "伤", "痛", "泪", "笑", "青", "红", "白", "蓝", "色", "城", "市", "故", "乡",
    "朋", "友", "恋", "歌", "曲", "唱", "听", "走", "飞", "跑", "追", "寻", "找", "看", "望",
    "今", "明", "昨", "永", "恒", "瞬", "间", "最", "后", "初", "次", "相", "遇", "逢", "别",
    "倾", "城", "醉", "酒", "茶", "烟", "火", "灯", "影", "镜", "画", "诗", "词", "琴", "笛"};

constexpr std::array remarks{" (Live)",  " (1)",     " (Remastered)", "（伴奏）",
                             " (Cover)", " (Remix)", " (2)",          "（现场版）"};

constexpr std::array duplicate_folders{
    "Downloads", "精选集", "Various Artists", "车载音乐", "Favorites/Best Of", "备份/旧手机"};

constexpr std::array source_folders{"", "新下载", "Downloads/2024", "手机导出/Music"};

// Uniform enough for names and exactly the same on every platform, unlike the standard
// distributions, whose results the library may choose.
class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    std::size_t below(std::size_t count) { return static_cast<std::size_t>(engine_() % count); }
    bool percent(std::size_t chance) { return below(100) < chance; }
    template <typename List>
    std::string pick(const List& list) {
        return list[below(list.size())];
    }

  private:
    std::mt19937_64 engine_;
};

struct Track {
    std::string artist;
    std::string title;
    fs::path album;  // the folder it was made in
};

// How the files of one album, or one download, are named.
enum class Style {
    artist_title,
    artist_title_tight,
    numbered_underscore,
    numbered_dot,
    numbered_dash,
    title_only
};

std::string two_digits(std::size_t number) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02zu", number % 100);
    return digits;
}

std::string file_name(Style style, const Track& track, std::size_t number,
                      const std::string& remark) {
    std::string stem;
    switch (style) {
        case Style::artist_title:
            stem = track.artist + " - " + track.title;
            break;
        case Style::artist_title_tight:
            stem = track.artist + "-" + track.title;
            break;
        case Style::numbered_underscore:
            stem = two_digits(number) + "_" + track.title;
            break;
        case Style::numbered_dot:
            stem = two_digits(number) + ". " + track.title;
            break;
        case Style::numbered_dash:
            stem = two_digits(number) + " - " + track.title;
            break;
        case Style::title_only:
            stem = track.title;
            break;
    }
    return stem + remark + ".mp3";
}

class LibraryWriter {
  public:
    LibraryWriter(std::uint64_t seed, fs::path out) : random_(seed), out_(std::move(out)) {}

    void write(std::size_t target_files) {
        const std::size_t duplicates = target_files * 5 / 100;
        while (tracks_.size() < target_files - duplicates) add_artist(target_files - duplicates);
        const std::size_t originals = tracks_.size();
        for (std::size_t made = 0; made < duplicates;) {
            if (add_duplicate(tracks_[random_.below(originals)])) ++made;
        }
        for (std::size_t made = 0; made < target_files / 10;) {
            if (add_candidate()) ++made;
        }
    }

  private:
    std::string english_title(std::size_t words) {
        std::string title = random_.pick(english_words);
        for (std::size_t i = 1; i < words; ++i) {
            title += ' ';
            title += random_.pick(english_words);
        }
        return title;
    }

    std::string chinese_title(std::size_t characters) {
        std::string title;
        for (std::size_t i = 0; i < characters; ++i)
            title += random_.pick(chinese_title_characters);
        return title;
    }

    std::string title(bool chinese) {
        return chinese ? chinese_title(2 + random_.below(5)) : english_title(1 + random_.below(4));
    }

    std::string artist_name(bool chinese) {
        if (chinese) {
            std::string name = random_.pick(chinese_surnames) + random_.pick(chinese_given);
            if (random_.percent(70)) name += random_.pick(chinese_given);
            return name;
        }
        // One in four is a band, "The" and two words; the others a first and a last name.
        const bool band = random_.percent(25);
        std::string name = band ? "The " : "";
        name += band ? random_.pick(english_words) : random_.pick(english_first_names);
        name += ' ';
        name += band ? random_.pick(english_words) : random_.pick(english_last_names);
        return name;
    }

    Style album_style() {
        const std::size_t roll = random_.below(100);
        if (roll < 45) return Style::artist_title;
        if (roll < 50) return Style::artist_title_tight;
        if (roll < 70) return Style::numbered_underscore;
        if (roll < 80) return Style::numbered_dot;
        if (roll < 90) return Style::numbered_dash;
        return Style::title_only;
    }

    Style download_style() {
        const std::size_t roll = random_.below(100);
        if (roll < 75) return Style::artist_title;
        if (roll < 80) return Style::artist_title_tight;
        if (roll < 88) return Style::numbered_underscore;
        if (roll < 92) return Style::numbered_dot;
        return Style::title_only;
    }

    // Creates the file unless the folder holds one of that name already.
    bool create(const fs::path& folder, const std::string& name) {
        const fs::path path = folder / name;
        if (!paths_.insert(path.string()).second) return false;
        if (folders_.insert(folder.string()).second) fs::create_directories(folder);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) throw std::runtime_error("cannot create " + path.string());
        std::fclose(file);
        if (random_.percent(1)) fs::resize_file(path, 2'000'000 + random_.below(7'000'000));
        return true;
    }

    void add_artist(std::size_t originals) {
        const bool chinese = random_.percent(40);
        const std::string artist = artist_name(chinese);
        const std::size_t albums = 1 + random_.below(6);
        for (std::size_t a = 0; a < albums && tracks_.size() < originals; ++a) {
            std::string album = title(chinese);
            if (random_.percent(60)) album += " (" + std::to_string(1975 + random_.below(50)) + ")";
            const fs::path folder = out_ / "target" / artist / album;
            const Style style = album_style();
            const std::string remark = random_.percent(8) ? " (Live)" : "";
            const std::size_t count = 8 + random_.below(11);
            for (std::size_t number = 1; number <= count && tracks_.size() < originals; ++number) {
                Track track{artist, title(chinese), folder};
                if (create(folder, file_name(style, track, number, remark)))
                    tracks_.push_back(track);
            }
        }
    }

    // A copy under another folder, or beside the original with a remark or as Windows names a
    // copy.
    bool add_duplicate(const Track& original) {
        const std::size_t roll = random_.below(100);
        if (roll < 40) {
            const fs::path folder = out_ / "target" / random_.pick(duplicate_folders);
            return create(folder, file_name(download_style(), original, 1 + random_.below(20), ""));
        }
        if (roll < 85) {
            return create(original.album,
                          file_name(Style::artist_title, original, 1, random_.pick(remarks)));
        }
        return create(original.album, original.artist + " - " + original.title + " - 副本.mp3");
    }

    bool add_candidate() {
        const fs::path folder = out_ / "source" / random_.pick(source_folders);
        const std::size_t roll = random_.below(100);
        Track track;
        if (roll < 55) {
            track = tracks_[random_.below(tracks_.size())];
        } else if (roll < 90) {
            const bool chinese = random_.percent(40);
            track = {tracks_[random_.below(tracks_.size())].artist, title(chinese), {}};
        } else {
            const bool chinese = random_.percent(40);
            track = {artist_name(chinese), title(chinese), {}};
        }
        const std::string remark = random_.percent(10) ? random_.pick(remarks) : "";
        return create(folder, file_name(download_style(), track, 1 + random_.below(20), remark));
    }

    Random random_;
    fs::path out_;
    std::vector<Track> tracks_;
    std::set<std::string> paths_;
    std::set<std::string> folders_;
};

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    std::size_t files = 0;
    std::string out;
    CLI::App app{"Writes a realistic music library of empty .mp3 files.", "melodex-bench-generate"};
    app.add_option("--seed", seed, "Seed of the names")->capture_default_str();
    app.add_option("--files", files, "Number of files in OUT/target")
        ->required()
        ->check(CLI::Range(20, 10'000'000));
    app.add_option("OUT", out, "Folder to create; it must not exist yet")->required();
    CLI11_PARSE(app, argc, argv);

    if (fs::exists(out)) {
        std::fprintf(stderr, "melodex-bench-generate: %s exists already\n", out.c_str());
        return 1;
    }
    try {
        LibraryWriter(seed, out).write(files);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "melodex-bench-generate: %s\n", error.what());
        return 1;
    }
    return 0;
}

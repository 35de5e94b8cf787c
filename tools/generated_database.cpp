#include "tools/generated_database.h"

#include <sqlite3.h>

#include <optional>
#include <random>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "sqlite_access/handles.h"
#include "sqlite_access/sqlite_db.h"
#include "tools/delivered_database.h"

namespace kelmor::tools {

const char* const kFewHitsTerm = "蛭";
const char* const kFirstRowTerm = "麝";

namespace {

namespace fs = std::filesystem;

const char* Utf8(const char8_t* s) {
  return reinterpret_cast<const char*>(s);
}

// The characters of one UTF-8 literal, each as its own string.
std::vector<std::string> Characters(const char8_t* literal) {
  std::vector<std::string> out;
  const std::string_view s(Utf8(literal));
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out.emplace_back(s.substr(i, n));
    i += n;
  }
  return out;
}

// Every character here is in GBK, and none is one of the planted search terms.
const char8_t* const kNameCharacters =
    u8"黄芪当归人参白术茯苓甘草川芎地芍药柴胡薄荷连翘金银花菊桑叶枸杞山丹红桃仁半夏陈皮厚朴苍"
    u8"砂木香沉檀麻桂枝防风荆芥羌活独细辛芷藁本耳夷葛根升蔓子决明牛蒡蝉蜕石膏知母芦竹栀";
const char8_t* const kTextCharacters =
    u8"清热解毒凉血止痛活血化瘀补气养阴润肺咳平喘祛风除湿温中散寒健脾和胃利水消肿安神定志收敛"
    u8"固涩理疏肝食导滞杀虫痒明目退翳通经下乳软坚结芳香开窍息痉滋降火益精填髓壮阳宣透疹燥痰"
    u8"用于外感表证头身疼痛鼻塞流涕多年生草本植物根茎叶花果实种子入药秋季采挖洗净晒干切片生用"
    u8"味苦性寒归心肺肾经含挥发油生物碱黄酮苷类皂甙有机酸多糖，。、";
const char* const kLatinWords[] = {"Radix", "Herba",  "Flos",   "Fructus", "Semen", "Rhizoma",
                                   "Cortex", "Folium", "Ramulus", "Astragali", "Angelicae",
                                   "Ginseng", "Glycyrrhizae", "Menthae", "Chrysanthemi"};

class Writer {
 public:
  explicit Writer(std::uint32_t seed)
      : random_(seed), names_(Characters(kNameCharacters)), texts_(Characters(kTextCharacters)) {}

  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }
  int Between(int lo, int hi) { return lo + static_cast<int>(Below(hi - lo + 1)); }

  // A name of 2 to 4 characters (plus `suffix`) that no earlier call returned.
  std::string UniqueName(const char8_t* suffix = u8"") {
    while (true) {
      std::string name;
      const int length = Between(2, 4);
      for (int i = 0; i < length; ++i) name += names_[Below(names_.size())];
      name += Utf8(suffix);
      if (used_.insert(name).second) return name;
    }
  }

  std::string Text(int characters) {
    std::string out;
    for (int i = 0; i < characters; ++i) out += texts_[Below(texts_.size())];
    return out;
  }

  std::string Latin(int min_length, int max_length) {
    std::string out;
    const int target = Between(min_length, max_length);
    while (static_cast<int>(out.size()) < target) {
      if (!out.empty()) out += ' ';
      out += kLatinWords[Below(std::size(kLatinWords))];
    }
    return out;
  }

  // About 80 characters, with `planted` (UTF-8) somewhere inside when given.
  std::string Indications(const std::string& planted) {
    std::string out = Text(Between(30, 40));
    out += planted;
    out += Text(Between(35, 45) - (planted.empty() ? 0 : 1));
    return out;
  }

 private:
  std::mt19937 random_;
  std::vector<std::string> names_;
  std::vector<std::string> texts_;
  std::unordered_set<std::string> used_;
};

// One prepared statement, run once per row with fresh bindings.
class Insert {
 public:
  Insert(sqlite3* db, const char* sql) : statement_(sqlite::Prepare(db, sql)) {}
  bool ok() const { return statement_ != nullptr; }
  bool Run(const std::vector<std::string>& texts, std::optional<std::int64_t> last_int = {}) {
    sqlite3_stmt* s = statement_.get();
    sqlite3_reset(s);
    int i = 1;
    for (const std::string& t : texts) {
      sqlite3_bind_text(s, i++, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
    }
    if (last_int) sqlite3_bind_int64(s, i, *last_int);
    return sqlite3_step(s) == SQLITE_DONE;
  }

 private:
  sqlite::Statement statement_;
};

// Which entries carry the planted terms: the first herb one term, one herb of 200 the other.
std::string Planted(int index, int count) {
  if (index == 0) return Utf8(u8"麝");
  const int every = count >= 200 ? 200 : count;
  if (index % every == every - 1) return Utf8(u8"蛭");
  return {};
}

bool WriteCollection(sqlite3* db, Writer& w, int entries, int categories, bool herbs) {
  Insert category(db, herbs ? Utf8(u8"insert into zylb(type,xm)values(?,?)")
                            : Utf8(u8"insert into yflb(type,xm)values(?,?)"));
  Insert entry(db, herbs ? Utf8(u8"insert into zymm(TYPE,药物名称,类别,英文名称,别名,来源,植物形态1,"
                                u8"植物形态2,生长地,采制,化学成分,性味,功能主治,附注)"
                                u8"values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                         : Utf8(u8"insert into yfmm(type,药方名称,类别,配方,制法,功用,禁忌,备注)"
                                u8"values(?,?,?,?,?,?,?,?)"));
  if (!category.ok() || !entry.ok()) return false;
  std::vector<std::string> category_names;
  for (int c = 0; c < categories; ++c) {
    category_names.push_back(w.UniqueName(herbs ? u8"类" : u8"方类"));
    if (!category.Run({category_names.back()}, 0)) return false;
  }
  // First-level rows got the ids 1 .. categories.
  for (int i = 0; i < entries && categories > 0; ++i) {
    const int c = static_cast<int>(w.Below(categories));
    const std::string& cat = category_names[c];
    const std::string name = w.UniqueName(herbs ? u8"" : u8"汤");
    if (!category.Run({name}, c + 1)) return false;
    std::vector<std::string> row;
    if (herbs) {
      row = {cat,
             name,
             cat,
             w.Latin(10, 30),
             w.Text(w.Between(10, 20)),
             w.Text(w.Between(10, 40)),
             w.Text(w.Between(10, 60)),
             w.Text(w.Between(10, 30)),
             w.Text(w.Between(10, 30)),
             w.Text(w.Between(10, 60)),
             w.Text(w.Between(10, 60)),
             w.Text(w.Between(10, 20)),
             w.Indications(Planted(i, entries)),
             w.Text(w.Between(10, 60))};
    } else {
      row = {cat,
             name,
             cat,
             w.Text(w.Between(20, 60)),
             w.Text(w.Between(10, 60)),
             w.Indications({}),
             w.Text(w.Between(10, 30)),
             w.Text(w.Between(10, 60))};
    }
    if (!entry.Run(row)) return false;
  }
  return true;
}

}  // namespace

bool MakeGeneratedDatabase(const fs::path& target, const GeneratedSize& size, bool save_trees,
                           std::string& error) {
  std::error_code ec;
  fs::remove(target, ec);
  Writer w(size.seed);
  bool ok = false;
  {
    SqliteDB db;
    ok = db.Open(target.string(), true) && db.Execute(kDatabaseSchema) && db.BeginTransaction() &&
         WriteCollection(db.connection(), w, size.herbs, size.herb_categories, true) &&
         WriteCollection(db.connection(), w, size.prescriptions, size.prescription_categories,
                         false) &&
         db.CommitTransaction();
    db.Close();
  }
  if (!ok) {
    error = "cannot write " + target.string();
    fs::remove(target, ec);
    return false;
  }
  return !save_trees || SaveBothTrees(target, error);
}

}  // namespace kelmor::tools

#include "tools/generated_database.h"

#include <sqlite3.h>

#include <optional>
#include <random>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/collection.h"
#include "runtime/codec.h"
#include "sqlite_access/handles.h"
#include "sqlite_access/sqlite_db.h"
#include "tools/book_schema.h"
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

// How one made-up field is written: Latin words or Chinese text of a length between lo and hi,
// or the indications text (about 80 characters), where the herbs carry the planted terms.
struct MadeUpField {
  enum Kind { kText, kLatin, kIndications };
  const char* column;  // GBK, as the collection's description names it
  Kind kind;
  int lo;
  int hi;
};

// What the made-up entries of one collection look like.
struct MadeUpCollection {
  Collection collection;
  const char8_t* category_suffix;
  const char8_t* entry_suffix;
  bool planted;  // whether its indications carry the planted search terms
  std::vector<MadeUpField> fields;
};

const MadeUpCollection kMadeUpHerbs{Collection::Herbs,
                                    u8"类",
                                    u8"",
                                    true,
                                    {{"英文名称", MadeUpField::kLatin, 10, 30},
                                     {"别名", MadeUpField::kText, 10, 20},
                                     {"来源", MadeUpField::kText, 10, 40},
                                     {"植物形态1", MadeUpField::kText, 10, 60},
                                     {"植物形态2", MadeUpField::kText, 10, 30},
                                     {"生长地", MadeUpField::kText, 10, 30},
                                     {"采制", MadeUpField::kText, 10, 60},
                                     {"化学成分", MadeUpField::kText, 10, 60},
                                     {"性味", MadeUpField::kText, 10, 20},
                                     {"功能主治", MadeUpField::kIndications, 0, 0},
                                     {"附注", MadeUpField::kText, 10, 60}}};
const MadeUpCollection kMadeUpPrescriptions{Collection::Prescriptions,
                                            u8"方类",
                                            u8"汤",
                                            false,
                                            {{"配方", MadeUpField::kText, 20, 60},
                                             {"制法", MadeUpField::kText, 10, 60},
                                             {"功用", MadeUpField::kIndications, 0, 0},
                                             {"禁忌", MadeUpField::kText, 10, 30},
                                             {"备注", MadeUpField::kText, 10, 60}}};

std::string Utf8Column(const char* gbk) {
  return LocalToUtf8(gbk).value_or(std::string());
}

// The entry insert of a collection: the category column as the book declares it, the name, the
// category and the fields, each bound as a parameter.
std::string EntryInsert(const CollectionDescription& d) {
  std::string columns =
      std::string(d.category_column) + "," + Utf8Column(d.name_column) + "," + Utf8Column("类别");
  std::string parameters = "?,?,?";
  for (const char* field : d.fields) {
    columns += "," + Utf8Column(field);
    parameters += ",?";
  }
  return std::string("insert into ") + d.entry_table + "(" + columns + ")values(" + parameters +
         ")";
}

const MadeUpField* FieldOf(const MadeUpCollection& m, const char* column) {
  for (const MadeUpField& f : m.fields) {
    if (std::string_view(f.column) == column) return &f;
  }
  return nullptr;
}

std::string MadeUpText(Writer& w, const MadeUpField& f, const std::string& planted) {
  switch (f.kind) {
    case MadeUpField::kLatin:
      return w.Latin(f.lo, f.hi);
    case MadeUpField::kIndications:
      return w.Indications(planted);
    case MadeUpField::kText:
      break;
  }
  return w.Text(w.Between(f.lo, f.hi));
}

bool WriteCollection(sqlite3* db, Writer& w, int entries, int categories,
                     const MadeUpCollection& m) {
  const CollectionDescription& d = Describe(m.collection);
  Insert category(
      db, (std::string("insert into ") + d.category_table + "(type,xm)values(?,?)").c_str());
  Insert entry(db, EntryInsert(d).c_str());
  if (!category.ok() || !entry.ok()) return false;
  std::vector<const MadeUpField*> fields;
  for (const char* column : d.fields) {
    fields.push_back(FieldOf(m, column));
    if (fields.back() == nullptr) return false;
  }
  std::vector<std::string> category_names;
  for (int c = 0; c < categories; ++c) {
    category_names.push_back(w.UniqueName(m.category_suffix));
    if (!category.Run({category_names.back()}, 0)) return false;
  }
  // First-level rows got the ids 1 .. categories.
  for (int i = 0; i < entries && categories > 0; ++i) {
    const int c = static_cast<int>(w.Below(categories));
    const std::string& cat = category_names[c];
    const std::string name = w.UniqueName(m.entry_suffix);
    if (!category.Run({name}, c + 1)) return false;
    std::vector<std::string> row = {cat, name, cat};
    const std::string planted = m.planted ? Planted(i, entries) : std::string();
    for (const MadeUpField* f : fields) row.push_back(MadeUpText(w, *f, planted));
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
         WriteCollection(db.connection(), w, size.herbs, size.herb_categories, kMadeUpHerbs) &&
         WriteCollection(db.connection(), w, size.prescriptions, size.prescription_categories,
                         kMadeUpPrescriptions) &&
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

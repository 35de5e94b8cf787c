// The five tables of kelmor.db and its two lbsj rows (each an empty saved tree), as one SQL
// text: the one definition of the book's schema, from which the tools make the delivered and
// the generated books and the tests make theirs. Header only, so that a test of any library can
// use it without linking the tools.
//
// zymm declares its category column as TYPE (so the herb field chooser hides it), yfmm as type;
// the entry tables' columns stand in the order of their insert statements, after the id.
#pragma once

namespace kelmor::tools {

inline constexpr const char* kDatabaseSchema =
    "CREATE TABLE zylb(id INTEGER PRIMARY KEY, type TEXT, xm INTEGER);"
    "CREATE TABLE yflb(id INTEGER PRIMARY KEY, type TEXT, xm INTEGER);"
    "CREATE TABLE zymm(id INTEGER PRIMARY KEY, TYPE TEXT, 药物名称 TEXT, 类别 TEXT, 英文名称 TEXT,"
    " 别名 TEXT, 来源 TEXT, 植物形态1 TEXT, 植物形态2 TEXT, 生长地 TEXT, 采制 TEXT, 化学成分 TEXT,"
    " 性味 TEXT, 功能主治 TEXT, 附注 TEXT);"
    "CREATE TABLE yfmm(id INTEGER PRIMARY KEY, type TEXT, 药方名称 TEXT, 类别 TEXT, 配方 TEXT,"
    " 制法 TEXT, 功用 TEXT, 禁忌 TEXT, 备注 TEXT);"
    "CREATE TABLE lbsj(id INTEGER PRIMARY KEY, sj BLOB);"
    "INSERT INTO lbsj(id, sj) VALUES(1, x''), (2, x'');";

}  // namespace kelmor::tools

// Helpers over a kelmor.db file for the reliability tests: what it holds, read through a
// connection of its own, and whether SQLite finds it sound.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace kelmor::test {

// Every row of the five tables, each value with its storage class, one text per table.
using BookRows = std::map<std::string, std::string>;
BookRows ReadBookRows(const std::filesystem::path& file);

// "ok" when PRAGMA integrity_check passes, else its first complaint (or why it could not run).
std::string IntegrityCheck(const std::filesystem::path& file);

// A readable difference of two states, for failure messages.
std::string DescribeDifference(const BookRows& a, const BookRows& b);

}  // namespace kelmor::test

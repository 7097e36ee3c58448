// Shared set-up of the analysis tests: a clean per-thread state before each test, and the
// independent copy of the texts in tests/data/analysis_texts.tsv.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "analysis/analysis_state.h"
#include "ephemeris/shared_state.h"

class AnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pln_Rec = {};
    Pln_Score = {};
    Score_Flag = {};
    Sel_Sign = 0;
  }
  void TearDown() override { Score_Flag = {}; }

  // Every body's longitude set to lon.
  static void Place_All(double lon) {
    for (auto& rec : Pln_Rec) rec.Lon = lon;
  }
};

// The texts by key ("body.3", "sign.11", "caption.4", "moon.6.afflicted", ...). Each line of
// the file is key, tab, text between double quotes; lines starting with '#' are comments.
inline const std::map<std::string, std::string>& Texts() {
  static const std::map<std::string, std::string> texts = [] {
    std::map<std::string, std::string> m;
    std::ifstream in(ZC_TEST_DATA_DIR "/analysis_texts.tsv", std::ios::binary);
    if (!in) throw std::runtime_error("cannot open analysis_texts.tsv");
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      const auto tab = line.find('\t');
      if (tab == std::string::npos || line.size() < tab + 3 || line[tab + 1] != '"' ||
          line.back() != '"')
        throw std::runtime_error("malformed line: " + line);
      m[line.substr(0, tab)] = line.substr(tab + 2, line.size() - tab - 3);
    }
    return m;
  }();
  return texts;
}

inline const std::string& Text(const std::string& key) {
  const auto it = Texts().find(key);
  if (it == Texts().end()) throw std::out_of_range("no text " + key);
  return it->second;
}

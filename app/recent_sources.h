#pragma once

#include "analysis_source.h"

#include <QString>
#include <optional>
#include <vector>

class QSettings;

// The sources analysed last, newest first, remembered between runs for File > Recent: folders,
// git histories and time lists alike, each reopened as what it was. A folder is remembered
// without its rules: the rules in force when it is opened again apply.
inline constexpr int kMostRecentSources = 8;

// The list with source put first: taken out from further down if it was there, the oldest
// dropped beyond kMostRecentSources.
std::vector<AnalysisSource> WithRecentSource(std::vector<AnalysisSource> sources, AnalysisSource source);

// One source as one line of text, every byte of its paths kept; and back. Nothing for a line
// that is not one.
QString EncodeRecentSource(const AnalysisSource& source);
std::optional<AnalysisSource> DecodeRecentSource(const QString& line);

// The remembered list, checked: anything but a list of sources reads as no list at all; repeats
// and entries beyond kMostRecentSources are dropped. A list of folders remembered by earlier
// versions reads as folder sources.
std::vector<AnalysisSource> LoadRecentSources(const QSettings& settings);
void SaveRecentSources(QSettings& settings, const std::vector<AnalysisSource>& sources);

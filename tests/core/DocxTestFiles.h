#pragma once

#include "core/export/RgbPicture.h"

#include <cstdint>
#include <functional>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace dorvane::test {

// The report template's tables, in its order.
enum ReportTable
{
    Proj,
    Mud,
    PipeInfo,
    Pipe3D,
    SonarPic,
    Assess,
    Defects // left out of a report without defect records
};

// The parts of a zip archive by name; empty when it cannot be read. The
// archives the program writes must also pass libzip's consistency check;
// the templates, packed as streams, need not.
std::map<std::string, std::string> readZip(const std::string &path, bool consistent = true);
void writeZip(const std::string &path, const std::map<std::string, std::string> &parts);

// A .docx package whose main part's body is bodyXml.
void writeDocx(const std::string &path, const std::string &bodyXml);

// The main part of a .docx file, parsed.
struct DocxXml
{
    std::map<std::string, std::string> parts;
    pugi::xml_document main;
    std::vector<pugi::xml_node> tables; // the body's tables in order
};
bool loadDocx(const std::string &path, DocxXml &docx);

// Cell (row, column) counted from 1 by the table's w:tr and the row's w:tc.
pugi::xml_node cellAt(pugi::xml_node table, int row, int column);
size_t rowCount(pugi::xml_node table);
// The text of the w:t elements within node, paragraphs joined by '\n'.
std::string textOf(pugi::xml_node node);
std::vector<pugi::xml_node> elementsNamed(pugi::xml_node node, const char *name);

// A picture of width x height whose pixel (x, y), y from the top, has the
// colour 0xRRGGBB given by colour.
RgbPicture rgbPicture(int width, int height, const std::function<uint32_t(int, int)> &colour);

} // namespace dorvane::test

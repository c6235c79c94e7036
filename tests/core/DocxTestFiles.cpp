#include "DocxTestFiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <zip.h>

namespace dorvane::test {

std::map<std::string, std::string> readZip(const std::string &path, bool consistent)
{
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_RDONLY | (consistent ? ZIP_CHECKCONS : 0), &error);
    if (!archive)
        return parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t *file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file ||
            zip_fread(file, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            ADD_FAILURE() << "cannot read " << stat.name;
            parts.clear();
            break;
        }
        zip_fclose(file);
        parts[stat.name] = bytes;
    }
    zip_discard(archive);
    return parts;
}

void writeZip(const std::string &path, const std::map<std::string, std::string> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, 0), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

void writeDocx(const std::string &path, const std::string &bodyXml)
{
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    writeZip(
        path,
        {{"[Content_Types].xml",
          declaration +
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"rels\" "
              "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
              "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
              "<Override PartName=\"/word/document.xml\" "
              "ContentType=\"application/"
              "vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml\"/></Types>"},
         {"_rels/.rels",
          declaration +
              "<Relationships "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" "
              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
              "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
         {"word/document.xml",
          declaration +
              "<w:document "
              "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
              bodyXml + "</w:body></w:document>"}});
}

bool loadDocx(const std::string &path, DocxXml &docx)
{
    docx.parts = readZip(path);
    const auto main = docx.parts.find("word/document.xml");
    if (main == docx.parts.end() ||
        !docx.main.load_string(main->second.c_str(),
                               pugi::parse_default | pugi::parse_ws_pcdata_single))
        return false;
    docx.tables.clear();
    for (pugi::xml_node table : docx.main.child("w:document").child("w:body").children("w:tbl"))
        docx.tables.push_back(table);
    return true;
}

pugi::xml_node cellAt(pugi::xml_node table, int row, int column)
{
    int r = 0;
    for (pugi::xml_node tr : table.children("w:tr"))
        if (++r == row) {
            int c = 0;
            for (pugi::xml_node tc : tr.children("w:tc"))
                if (++c == column)
                    return tc;
        }
    return {};
}

size_t rowCount(pugi::xml_node table)
{
    size_t rows = 0;
    for (pugi::xml_node tr : table.children("w:tr")) {
        (void)tr;
        ++rows;
    }
    return rows;
}

std::vector<pugi::xml_node> elementsNamed(pugi::xml_node node, const char *name)
{
    std::vector<pugi::xml_node> found;
    for (const pugi::xpath_node &at : node.select_nodes((std::string(".//") + name).c_str()))
        found.push_back(at.node());
    return found;
}

std::string textOf(pugi::xml_node node)
{
    std::string text;
    bool first = true;
    for (pugi::xml_node paragraph : elementsNamed(node, "w:p")) {
        if (!first)
            text += '\n';
        first = false;
        for (pugi::xml_node t : elementsNamed(paragraph, "w:t"))
            text += t.text().get();
    }
    return text;
}

RgbPicture rgbPicture(int width, int height, const std::function<uint32_t(int, int)> &colour)
{
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = colour(x, y);
            picture.pixels.push_back(static_cast<uint8_t>(rgb >> 16));
            picture.pixels.push_back(static_cast<uint8_t>(rgb >> 8));
            picture.pixels.push_back(static_cast<uint8_t>(rgb));
        }
    return picture;
}

} // namespace dorvane::test

#include "core/export/DocxDocumentState.h"

#include "core/export/DocxNames.h"
#include "core/export/DocxNodes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace dorvane {

namespace {

constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;
constexpr char Declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr char MainContentType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr char RelationshipsNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char ContentTypesNs[] = "http://schemas.openxmlformats.org/package/2006/content-types";

class StringWriter final : public pugi::xml_writer
{
public:
    void write(const void *data, size_t size) override
    {
        text.append(static_cast<const char *>(data), size);
    }
    std::string text = Declaration;
};

std::string printed(pugi::xml_node node)
{
    StringWriter writer;
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.text);
}

bool parse(const std::string *bytes, pugi::xml_document &document)
{
    return bytes && document.load_buffer(bytes->data(), bytes->size(), ParseFlags);
}

std::string folderOf(const std::string &part)
{
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

bool sameLetters(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

} // namespace

std::unique_ptr<DocxDocumentState> DocxDocumentState::open(const std::string &templatePath)
{
    auto state = std::make_unique<DocxDocumentState>();
    if (!state->load(templatePath))
        return nullptr;
    return state;
}

bool DocxDocumentState::load(const std::string &templatePath)
{
    pugi::xml_document packageRels;
    if (!m_package.read(templatePath) || !parse(m_package.part("_rels/.rels"), packageRels) ||
        !parse(m_package.part("[Content_Types].xml"), m_types))
        return false;
    for (pugi::xml_node rel : packageRels.document_element().children("Relationship"))
        if (std::strcmp(rel.attribute("Type").value(), docx::OfficeDocumentRelType) == 0) {
            m_mainPart = rel.attribute("Target").value();
            break;
        }
    if (!m_mainPart.empty() && m_mainPart.front() == '/')
        m_mainPart.erase(0, 1);
    if (m_mainPart.empty() || !parse(m_package.part(m_mainPart), m_main))
        return false;
    const pugi::xml_node root = m_main.document_element();
    if (std::strcmp(root.name(), "w:document") != 0 ||
        std::strcmp(root.attribute("xmlns:w").value(), docx::MainNs) != 0 || !root.child("w:body"))
        return false;

    const size_t slash = m_mainPart.rfind('/');
    m_mainRelsPart = folderOf(m_mainPart) + "_rels/" +
                     m_mainPart.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
    if (!parse(m_package.part(m_mainRelsPart), m_rels)) {
        m_rels.reset();
        m_rels.append_child("Relationships").append_attribute("xmlns") = RelationshipsNs;
    }
    if (!m_types.document_element())
        m_types.append_child("Types").append_attribute("xmlns") = ContentTypesNs;

    for (pugi::xml_node drawing : docx::descendantsNamed(root, "wp:docPr"))
        m_lastDrawingId = std::max(m_lastDrawingId, drawing.attribute("id").as_uint());
    // Taken-out nodes wait here, outside the document element, which is all
    // that is written.
    m_removed = m_main.append_child("removed");
    m_open = true;
    return true;
}

void DocxDocumentState::close()
{
    m_open = false;
    m_main.reset();
    m_rels.reset();
    m_types.reset();
    m_package = DocxPackage();
}

pugi::xml_node DocxDocumentState::body() const
{
    return m_open ? m_main.document_element().child("w:body") : pugi::xml_node();
}

bool DocxDocumentState::isLive(pugi::xml_node node) const
{
    if (!m_open || !node)
        return false;
    const pugi::xml_node root = m_main.document_element();
    for (; node; node = node.parent())
        if (node == root)
            return true;
    return false;
}

void DocxDocumentState::retire(pugi::xml_node node)
{
    if (m_open && node)
        m_removed.append_move(node);
}

bool DocxDocumentState::declarePictureNamespaces()
{
    if (!m_open)
        return false;
    pugi::xml_node root = m_main.document_element();
    for (const auto &[name, ns] :
         {std::pair{"xmlns:wp", docx::DrawingNs}, std::pair{"xmlns:r", docx::RelationshipNs}}) {
        pugi::xml_attribute declared = root.attribute(name);
        if (!declared)
            root.append_attribute(name) = ns;
        else if (std::strcmp(declared.value(), ns) != 0)
            return false;
    }
    return true;
}

std::optional<std::string> DocxDocumentState::addPicture(std::vector<uint8_t> png)
{
    if (!m_open)
        return std::nullopt;
    std::string target;
    for (int n = 1;; ++n) {
        target = "media/image" + std::to_string(n) + ".png";
        if (!m_package.part(folderOf(m_mainPart) + target))
            break;
    }
    std::set<std::string> ids;
    pugi::xml_node rels = m_rels.document_element();
    for (pugi::xml_node rel : rels.children("Relationship"))
        ids.insert(rel.attribute("Id").value());
    std::string id;
    for (size_t n = ids.size() + 1;; ++n) {
        id = "rId" + std::to_string(n);
        if (!ids.count(id))
            break;
    }

    m_package.setPart(folderOf(m_mainPart) + target, std::string(png.begin(), png.end()));
    pugi::xml_node rel = rels.append_child("Relationship");
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = docx::ImageRelType;
    rel.append_attribute("Target") = target.c_str();

    pugi::xml_node types = m_types.document_element();
    bool known = false;
    for (pugi::xml_node type : types.children("Default"))
        known = known || sameLetters(type.attribute("Extension").value(), "png");
    if (!known) {
        pugi::xml_node type = types.prepend_child("Default");
        type.append_attribute("Extension") = "png";
        type.append_attribute("ContentType") = "image/png";
    }
    return id;
}

void DocxDocumentState::storeParts()
{
    // A document made from a template is a document, whatever the
    // template's own type was.
    pugi::xml_node types = m_types.document_element();
    const std::string partName = "/" + m_mainPart;
    pugi::xml_node main;
    for (pugi::xml_node type : types.children("Override"))
        if (partName == type.attribute("PartName").value())
            main = type;
    if (!main) {
        main = types.append_child("Override");
        main.append_attribute("PartName") = partName.c_str();
        main.append_attribute("ContentType");
    }
    main.attribute("ContentType") = MainContentType;

    m_package.setPart(m_mainPart, printed(m_main.document_element()));
    m_package.setPart(m_mainRelsPart, printed(m_rels.document_element()));
    m_package.setPart("[Content_Types].xml", printed(types));
}

std::optional<std::vector<uint8_t>> DocxDocumentState::docxBytes()
{
    if (!m_open)
        return std::nullopt;
    storeParts();
    return m_package.archive();
}

} // namespace dorvane

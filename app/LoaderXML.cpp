#include "app/LoaderXML.h"

#include <cstdlib>
#include <fstream>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>

#include "graphics/Rectangle.h"

using namespace xercesc;

namespace {

// The attribute's value in the local code page; "" when it is absent.
std::string attribute(const DOMElement* element, const char* name) {
    XMLCh* wideName = XMLString::transcode(name);
    const XMLCh* wideValue = element->getAttribute(wideName);
    XMLString::release(&wideName);
    char* value = XMLString::transcode(wideValue);
    std::string result = value ? value : "";
    XMLString::release(&value);
    return result;
}

} // namespace

Rectangle* LoaderXML::load(const std::string& fileName) {
    std::ifstream probe(fileName.c_str());
    const bool openable = !fileName.empty() && probe.is_open();
    probe.close();

    try {
        XMLPlatformUtils::Initialize();
    } catch (...) {
        return nullptr;
    }
    Rectangle* result = nullptr;
    {
        XercesDOMParser parser;
        if (openable && parse(parser, fileName)) {
            const DOMDocument* document = parser.getDocument();
            const DOMElement* root = document ? document->getDocumentElement() : nullptr;
            if (root) {
                const float x = static_cast<float>(std::atof(attribute(root, "x").c_str()));
                const float y = static_cast<float>(std::atof(attribute(root, "y").c_str()));
                const int height = std::atoi(attribute(root, "height").c_str());
                const int width = std::atoi(attribute(root, "width").c_str());
                if (width != 0 && height != 0)
                    result = new Rectangle(Position(x, y), width, height);
            }
        }
    } // the parser and its document go before the platform terminates
    XMLPlatformUtils::Terminate();
    return result;
}

bool LoaderXML::parse(XercesDOMParser& parser, const std::string& fileName) {
    parser.setValidationScheme(XercesDOMParser::Val_Never);
    parser.setDoNamespaces(false);
    parser.setDoSchema(false);
    parser.setValidationSchemaFullChecking(false);
    parser.setCreateEntityReferenceNodes(false);
    try {
        parser.parse(fileName.c_str());
    } catch (const OutOfMemoryException&) {
        return false;
    } catch (const XMLException&) {
        return false;
    } catch (const DOMException&) {
        return false;
    } catch (...) {
        return false;
    }
    // A malformed file may leave a partial document behind without throwing.
    return parser.getErrorCount() == 0;
}

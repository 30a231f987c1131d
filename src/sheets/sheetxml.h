#pragma once

#include <QXmlStreamReader>

// Reads the XML parts of .xlsx and .ods files token by token, refusing
// nesting deeper than any sheet needs, so that a part made of nested
// elements cannot grow the reader's stack without bound.
class SheetXml
{
public:
    explicit SheetXml(QIODevice *device) : m_xml(device) {}

    // The next start or end element, or text; false at the end or on an error.
    bool next()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (++m_depth > kMaxDepth) {
                    m_xml.raiseError(QStringLiteral("nesting"));
                    return false;
                }
                return true;
            case QXmlStreamReader::EndElement:
                --m_depth;
                return true;
            case QXmlStreamReader::Characters:
                return true;
            default:
                break;
            }
        }
        return false;
    }
    // Leaves the element just started, and everything in it.
    void skipElement()
    {
        const int depth = m_depth;
        while (m_depth >= depth && next()) {
        }
    }

    bool isStart() const { return m_xml.isStartElement(); }
    bool isEnd() const { return m_xml.isEndElement(); }
    bool isText() const { return m_xml.isCharacters(); }
    bool is(QLatin1StringView name) const { return m_xml.name() == name; }
    QStringView text() const { return m_xml.text(); }
    // An attribute by its name without prefix; empty when missing.
    QString attribute(QLatin1StringView name) const
    {
        const QXmlStreamAttributes all = m_xml.attributes();
        for (const QXmlStreamAttribute &a : all)
            if (a.name() == name)
                return a.value().toString();
        return {};
    }
    QXmlStreamAttributes attributes() const { return m_xml.attributes(); }
    bool failed() const { return m_xml.hasError(); }
    int depth() const { return m_depth; }

private:
    static constexpr int kMaxDepth = 64;
    QXmlStreamReader m_xml;
    int m_depth = 0;
};

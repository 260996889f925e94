// Creating the engine's objects and the installer's probe of the engine.
#include "xml/xml_engine.h"

#include <gtest/gtest.h>

#include <thread>

#include "xml_test_support.h"

using xml_test::ReferenceCount;

TEST(XmlEngine, CreatesReaderAndWriterOnceComRuns) {
  InitializeCom();
  ComPtr<ISAXXMLReader> reader = CreateSaxReader();
  ASSERT_TRUE(reader);
  EXPECT_EQ(ReferenceCount(reader.get()), 1u);
  ComPtr<IMXWriter> writer = CreateXmlWriter();
  ASSERT_TRUE(writer);
  ComPtr<ISAXContentHandler> handler;
  ASSERT_EQ(
      writer->QueryInterface(kContentHandlerInterfaceId, reinterpret_cast<void**>(handler.put())),
      S_OK);
  EXPECT_TRUE(handler);
}

TEST(XmlEngine, CreatesNothingOnAThreadWithoutCom) {
  bool reader = true;
  bool writer = true;
  std::thread([&] {
    reader = static_cast<bool>(CreateSaxReader());
    writer = static_cast<bool>(CreateXmlWriter());
  }).join();
  EXPECT_FALSE(reader);
  EXPECT_FALSE(writer);
}

TEST(XmlEngine, ProbeStartsComAndFindsBothObjects) {
  bool usable = false;
  std::thread([&] { usable = ProbeXmlEngine(); }).join();
  EXPECT_TRUE(usable);
}

TEST(XmlEngine, ProbeFailsWhenEitherObjectIsMissing) {
#ifdef COMPAT_CLASS_AVAILABILITY_CONTROL
  for (const CLSID* missing : {&kSaxReaderClassId, &kXmlWriterClassId}) {
    compat::SetClassAvailable(*missing, false);
    const bool usable = ProbeXmlEngine();
    compat::SetClassAvailable(*missing, true);
    EXPECT_FALSE(usable);
  }
  EXPECT_TRUE(ProbeXmlEngine());
#else
  XML_TEST_SKIP("the system engine's classes cannot be withdrawn from a test");
#endif
}

# Peer check of our XML data packets: compiles the Free Pascal reader, writes the sample packet
# with our writer, reads it with TBufDataset and compares the rows printed with the expected ones.
# Variables: FPC, READER_SOURCE, WRITER, EXPECTED, WORK_DIR.
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${FPC} -FE${WORK_DIR} -FU${WORK_DIR} ${READER_SOURCE}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result)
  message(FATAL_ERROR "fpc could not compile the reader (units BufDataset, XMLDatapacketReader):\n${output}")
endif()
execute_process(COMMAND ${WRITER} ${WORK_DIR}/sample.xml RESULT_VARIABLE result ERROR_VARIABLE output)
if(result)
  message(FATAL_ERROR "writing the sample packet failed:\n${output}")
endif()
execute_process(COMMAND ${WORK_DIR}/read_packet ${WORK_DIR}/sample.xml
                RESULT_VARIABLE result OUTPUT_VARIABLE rows ERROR_VARIABLE output)
if(result)
  message(FATAL_ERROR "TBufDataset did not load our packet:\n${output}${rows}")
endif()
file(READ ${EXPECTED} expected)
if(NOT rows STREQUAL expected)
  message(FATAL_ERROR "TBufDataset read other rows.\nExpected:\n${expected}\nRead:\n${rows}")
endif()

kq_add_test(fuzzreplay kqfuzz)

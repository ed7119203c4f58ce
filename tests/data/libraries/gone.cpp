// A library that the test library needs and the loader never finds.
int kqGone()
{
    return 1;
}

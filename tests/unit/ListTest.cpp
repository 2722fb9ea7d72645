// Tarn::List: growth in steps of 8, checked indices, element lifetimes.
#include <tarn/Exception.h>
#include <tarn/List.h>
#include <tarn/String.h>

#include <gtest/gtest.h>

TEST(List, GrowsInStepsOfEight)
{
	Tarn::List<int> list;
	EXPECT_EQ(list.getCapacity(), 0);
	EXPECT_EQ(list.getCount(), 0);

	const int capacityAfter[] = { 8, 8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16, 16, 16, 16, 16, 24 };
	for (int i = 0; i < 17; i++)
	{
		list.add(i * 10);
		EXPECT_EQ(list.getCapacity(), capacityAfter[i]) << "after " << i + 1 << " adds";
		EXPECT_EQ(list.getCount(), i + 1);
	}
	for (int i = 0; i < 17; i++)
		EXPECT_EQ(list[i], i * 10) << "growth must keep slot " << i;
}

TEST(List, IndexIsCheckedAgainstTheCountNotTheCapacity)
{
	Tarn::List<float> list;
	list.add(1.0f);
	list.add(2.0f);
	list[1] = 5.0f;
	EXPECT_EQ(list[1], 5.0f);

	for (int index : { 2, 7, -1 })
	{
		try
		{
			list[index];
			ADD_FAILURE() << "index " << index << " did not throw";
		}
		catch (const Tarn::Exception& exception)
		{
			EXPECT_STREQ(exception.getMessage().getText(), "Index out of bounds");
			EXPECT_STREQ(exception.getFile().getText(), "tarn\\include\\tarn\\List");
			EXPECT_EQ(exception.getLine(), 147);
		}
	}
}

TEST(List, ClearReleasesTheElementsAndStartsOver)
{
	Tarn::String argument("--window");
	Tarn::List<Tarn::String> list;
	for (int i = 0; i < 9; i++)
		list.add(argument);
	EXPECT_EQ(argument.getReferenceCount(), 10) << "growth must not leave stray copies";

	list.clear();
	EXPECT_EQ(argument.getReferenceCount(), 1);
	EXPECT_EQ(list.getCount(), 0);
	EXPECT_EQ(list.getCapacity(), 0);
	EXPECT_THROW(list[0], Tarn::Exception);

	list.add(argument);
	EXPECT_EQ(list.getCapacity(), 8);
	EXPECT_STREQ(list[0].getText(), "--window");
}
